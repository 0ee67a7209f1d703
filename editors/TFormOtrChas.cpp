#include "TFormOtrChas.h"

#include "DataModule.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"

namespace kb::editors {

TFormOtrChas::TFormOtrChas(TDataM& dataModule, QWidget* mainWindow)
    : RecordEditorForm("FormOtrChas", QStringLiteral("Отработанные дни"), {376, 130}, Placement::MainWindow,
                       mainWindow) {
    DataSource* const source = dataModule.daysWorkedSource;
    addLabel(QStringLiteral("Код:"), {12, 16});
    DBEdit1 = addEdit("DBEdit1", {52, 13, 93, 21}, source, QStringLiteral("ID"));
    addLabel(QStringLiteral("ФИО сотрудника:"), {12, 43});
    DBLookupComboBox1 = addLookup("DBLookupComboBox1", {124, 40, 244, 21}, source, QStringLiteral("IDSotr"),
                                  dataModule.staffSource, QStringLiteral("FIO"));
    addLabel(QStringLiteral("Отработанные дни:"), {12, 70});
    DBEdit2 = addEdit("DBEdit2", {142, 67, 75, 21}, source, QStringLiteral("Count"));
    addLabel(QStringLiteral("Дата:"), {248, 70});
    DBEdit3 = addEdit("DBEdit3", {295, 67, 73, 21}, source, QStringLiteral("Data"));
    DBNavigator1 = addNavigator({8, 94, 360, 25}, source);
    setTabChain({DBEdit1, DBEdit2, DBLookupComboBox1, DBNavigator1, DBEdit3});
}

} // namespace kb::editors
