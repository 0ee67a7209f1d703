#pragma once

#include "RecordEditorForm.h"

namespace kb {
class TDataM;
}

namespace kb::editors {

// The salary rate editor, "Оклад": one monthly salary of Stavka at a time,
// the employee chosen from Sotr by name. Centred on the main window.
class TFormStavka : public RecordEditorForm {
    Q_OBJECT
public:
    TFormStavka(TDataM& dataModule, QWidget* mainWindow);

    DbEdit* DBEdit1;
    DbLookupComboBox* DBLookupComboBox1;
    DbEdit* DBEdit2;
    DbNavigator* DBNavigator1;
};

} // namespace kb::editors
