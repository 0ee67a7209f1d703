#pragma once

#include "RecordEditorForm.h"

namespace kb {
class TDataM;
}

namespace kb::editors {

// The position editor, "Должности": one position of Dolznost at a time.
// Centred on the desktop.
class TFormDolznost : public RecordEditorForm {
    Q_OBJECT
public:
    TFormDolznost(TDataM& dataModule, QWidget* mainWindow);

    DbEdit* DBEdit1;
    DbEdit* DBEdit2;
    DbNavigator* DBNavigator1;
};

} // namespace kb::editors
