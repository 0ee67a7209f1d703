#include "TFormPremia.h"

#include "DataModule.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"

namespace kb::editors {

TFormPremia::TFormPremia(TDataM& dataModule, QWidget* mainWindow)
    : RecordEditorForm("FormPremia", QStringLiteral("Премия"), {296, 140}, Placement::MainWindow, mainWindow) {
    DataSource* const source = dataModule.bonusSource;
    addLabel(QStringLiteral("Код:"), {12, 16});
    DBEdit1 = addEdit("DBEdit1", {52, 13, 119, 21}, source, QStringLiteral("ID"));
    addLabel(QStringLiteral("ФИО сотрудника:"), {12, 43});
    DBLookupComboBox1 = addLookup("DBLookupComboBox1", {119, 40, 168, 21}, source, QStringLiteral("IDSotr"),
                                  dataModule.staffSource, QStringLiteral("FIO"));
    addLabel(QStringLiteral("Дата:"), {12, 70});
    DBEdit2 = addEdit("DBEdit2", {60, 67, 75, 21}, source, QStringLiteral("Data"), 8);
    addLabel(QStringLiteral("Премия, %:"), {161, 70});
    DBEdit3 = addEdit("DBEdit3", {232, 67, 56, 21}, source, QStringLiteral("Premia"));
    DBNavigator1 = addNavigator({8, 104, 280, 25}, source);
    setTabChain({DBNavigator1, DBEdit1, DBLookupComboBox1, DBEdit2, DBEdit3});
}

} // namespace kb::editors
