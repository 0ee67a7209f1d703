#include "TFormDolznost.h"

#include "DataModule.h"
#include "DbEdit.h"
#include "DbNavigator.h"

namespace kb::editors {

TFormDolznost::TFormDolznost(dataset::TDataM& dataModule, QWidget* mainWindow)
    : RecordEditorForm("FormDolznost", QStringLiteral("Должности"), {416, 101}, Placement::Desktop, mainWindow) {
    dataset::DataSource* const source = dataModule.positionSource;
    addLabel(QStringLiteral("Код:"), {12, 16});
    idEdit = addEdit("DBEdit1", {76, 13, 121, 21}, source, QStringLiteral("ID"));
    addLabel(QStringLiteral("Название:"), {12, 43});
    titleEdit = addEdit("DBEdit2", {76, 40, 333, 21}, source, QStringLiteral("Nazvanie"));
    navigator = addNavigator({8, 67, 400, 25}, source);
    setTabChain({navigator, idEdit, titleEdit});
}

} // namespace kb::editors
