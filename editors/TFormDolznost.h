#pragma once

#include "RecordEditorForm.h"

namespace kb::dataset {
class TDataM;
} // namespace kb::dataset

namespace kb::editors {

// The position editor, "Должности": one position of Dolznost at a time.
// Centred on the desktop.
//
//   object name   member     field     what it holds
//   DBEdit1       idEdit     ID        the position's ID, read-only
//   DBEdit2       titleEdit  Nazvanie  the position's name
//   DBNavigator1  navigator            moves, inserts, deletes, posts, cancels, refreshes
class TFormDolznost : public RecordEditorForm {
    Q_OBJECT
public:
    TFormDolznost(dataset::TDataM& dataModule, QWidget* mainWindow);

    DbEdit* idEdit;
    DbEdit* titleEdit;
    DbNavigator* navigator;
};

} // namespace kb::editors
