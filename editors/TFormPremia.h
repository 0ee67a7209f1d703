#pragma once

#include "RecordEditorForm.h"

namespace kb {
class TDataM;
}

namespace kb::editors {

// The bonus editor, "Премия": one monthly bonus of Premia at a time, the
// employee chosen from Sotr by name. Centred on the main window.
class TFormPremia : public RecordEditorForm {
    Q_OBJECT
public:
    TFormPremia(TDataM& dataModule, QWidget* mainWindow);

    DbEdit* DBEdit1;
    DbLookupComboBox* DBLookupComboBox1;
    DbEdit* DBEdit2;
    DbEdit* DBEdit3;
    DbNavigator* DBNavigator1;
};

} // namespace kb::editors
