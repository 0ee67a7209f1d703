#pragma once

#include "RecordEditorForm.h"

namespace kb {
class TDataM;
}

namespace kb::editors {

// The worked-days editor, "Отработанные дни" (its menu item reads
// "Отработанные часы"): one month's days worked of OtrChas at a time, the
// employee chosen from Sotr by name. Centred on the main window.
class TFormOtrChas : public RecordEditorForm {
    Q_OBJECT
public:
    TFormOtrChas(TDataM& dataModule, QWidget* mainWindow);

    DbEdit* DBEdit1;
    DbLookupComboBox* DBLookupComboBox1;
    DbEdit* DBEdit2;
    DbEdit* DBEdit3;
    DbNavigator* DBNavigator1;
};

} // namespace kb::editors
