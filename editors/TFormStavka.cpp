#include "TFormStavka.h"

#include "DataModule.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"

namespace kb::editors {

TFormStavka::TFormStavka(TDataM& dataModule, QWidget* mainWindow)
    : RecordEditorForm("FormStavka", QStringLiteral("Оклад"), {376, 126}, Placement::MainWindow, mainWindow) {
    DataSource* const source = dataModule.salaryRateSource;
    addLabel(QStringLiteral("Код:"), {12, 16});
    DBEdit1 = addEdit("DBEdit1", {52, 13, 93, 21}, source, QStringLiteral("ID"));
    addLabel(QStringLiteral("ФИО сотрудника:"), {12, 43});
    DBLookupComboBox1 = addLookup("DBLookupComboBox1", {124, 40, 244, 21}, source, QStringLiteral("IDSotr"),
                                  dataModule.staffSource, QStringLiteral("FIO"));
    addLabel(QStringLiteral("Оклад:"), {12, 70});
    DBEdit2 = addEdit("DBEdit2", {68, 67, 133, 21}, source, QStringLiteral("Sum"));
    DBNavigator1 = addNavigator({8, 94, 360, 25}, source);
    setTabChain({DBNavigator1, DBEdit1, DBLookupComboBox1, DBEdit2});
}

} // namespace kb::editors
