#include "TFormStavka.h"

#include "DataModule.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"

namespace kb::editors {

TFormStavka::TFormStavka(dataset::TDataM& dataModule, QWidget* mainWindow)
    : RecordEditorForm("FormStavka", QStringLiteral("Оклад"), {376, 126}, Placement::MainWindow, mainWindow) {
    dataset::DataSource* const source = dataModule.salaryRateSource;
    addLabel(QStringLiteral("Код:"), {12, 16});
    idEdit = addEdit("DBEdit1", {52, 13, 93, 21}, source, QStringLiteral("ID"));
    addLabel(QStringLiteral("ФИО сотрудника:"), {12, 43});
    employeeLookup = addLookup("DBLookupComboBox1", {124, 40, 244, 21}, source, QStringLiteral("IDSotr"),
                               dataModule.staffSource, QStringLiteral("FIO"));
    addLabel(QStringLiteral("Оклад:"), {12, 70});
    salaryEdit = addEdit("DBEdit2", {68, 67, 133, 21}, source, QStringLiteral("Sum"));
    navigator = addNavigator({8, 94, 360, 25}, source);
    setTabChain({navigator, idEdit, employeeLookup, salaryEdit});
}

} // namespace kb::editors
