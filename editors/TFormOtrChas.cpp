#include "TFormOtrChas.h"

#include "DataModule.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"

namespace kb::editors {

TFormOtrChas::TFormOtrChas(dataset::TDataM& dataModule, QWidget* mainWindow)
    : RecordEditorForm("FormOtrChas", QStringLiteral("Отработанные дни"), {376, 130}, Placement::MainWindow,
                       mainWindow) {
    dataset::DataSource* const source = dataModule.daysWorkedSource;
    addLabel(QStringLiteral("Код:"), {12, 16});
    idEdit = addEdit("DBEdit1", {52, 13, 93, 21}, source, QStringLiteral("ID"));
    addLabel(QStringLiteral("ФИО сотрудника:"), {12, 43});
    employeeLookup = addLookup("DBLookupComboBox1", {124, 40, 244, 21}, source, QStringLiteral("IDSotr"),
                               dataModule.staffSource, QStringLiteral("FIO"));
    addLabel(QStringLiteral("Отработанные дни:"), {12, 70});
    daysEdit = addEdit("DBEdit2", {142, 67, 75, 21}, source, QStringLiteral("Count"));
    addLabel(QStringLiteral("Дата:"), {248, 70});
    monthEdit = addEdit("DBEdit3", {295, 67, 73, 21}, source, QStringLiteral("Data"));
    navigator = addNavigator({8, 94, 360, 25}, source);
    setTabChain({idEdit, daysEdit, employeeLookup, navigator, monthEdit});
}

} // namespace kb::editors
