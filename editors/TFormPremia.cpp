#include "TFormPremia.h"

#include "DataModule.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"

namespace kb::editors {

TFormPremia::TFormPremia(dataset::TDataM& dataModule, QWidget* mainWindow)
    : RecordEditorForm("FormPremia", QStringLiteral("Премия"), {296, 140}, Placement::MainWindow, mainWindow) {
    dataset::DataSource* const source = dataModule.bonusSource;
    addLabel(QStringLiteral("Код:"), {12, 16});
    idEdit = addEdit("DBEdit1", {52, 13, 119, 21}, source, QStringLiteral("ID"));
    addLabel(QStringLiteral("ФИО сотрудника:"), {12, 43});
    employeeLookup = addLookup("DBLookupComboBox1", {119, 40, 168, 21}, source, QStringLiteral("IDSotr"),
                               dataModule.staffSource, QStringLiteral("FIO"));
    addLabel(QStringLiteral("Дата:"), {12, 70});
    monthEdit = addEdit("DBEdit2", {60, 67, 75, 21}, source, QStringLiteral("Data"), 8);
    addLabel(QStringLiteral("Премия, %:"), {161, 70});
    percentEdit = addEdit("DBEdit3", {232, 67, 56, 21}, source, QStringLiteral("Premia"));
    navigator = addNavigator({8, 104, 280, 25}, source);
    setTabChain({navigator, idEdit, employeeLookup, monthEdit, percentEdit});
}

} // namespace kb::editors
