#pragma once

#include "RecordEditorForm.h"

namespace kb {
class TDataM;
}

namespace kb::editors {

// The employee editor, "Сотрудники": one employee of Sotr at a time, with
// the position chosen from Dolznost by name. Centred on the desktop.
class TFormSotr : public RecordEditorForm {
    Q_OBJECT
public:
    TFormSotr(TDataM& dataModule, QWidget* mainWindow);

    DbEdit* DBEdit1;
    DbEdit* DBEdit2;
    DbLookupComboBox* DBLookupComboBox1;
    DbEdit* DBEdit3;
    DbEdit* DBEdit4;
    DbEdit* DBEdit7;
    DbEdit* DBEdit5;
    DbEdit* DBEdit6;
    DbNavigator* DBNavigator1;
};

} // namespace kb::editors
