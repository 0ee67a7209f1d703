#pragma once

#include "RecordEditorForm.h"

namespace kb::dataset {
class TDataM;
} // namespace kb::dataset

namespace kb::editors {

// The bonus editor, "Премия": one monthly bonus of Premia at a time, the
// employee chosen from Sotr by name. Centred on the main window.
//
//   object name        member          field   what it holds
//   DBEdit1            idEdit          ID      the bonus row's ID, read-only
//   DBLookupComboBox1  employeeLookup  IDSotr  employee, chosen by Sotr.FIO
//   DBEdit2            monthEdit       Data    the bonus's month (a date)
//   DBEdit3            percentEdit     Premia  bonus in percent (text)
//   DBNavigator1       navigator               moves, inserts, deletes, posts, cancels, refreshes
class TFormPremia : public RecordEditorForm {
    Q_OBJECT
public:
    TFormPremia(dataset::TDataM& dataModule, QWidget* mainWindow);

    DbEdit* idEdit;
    DbLookupComboBox* employeeLookup;
    DbEdit* monthEdit;
    DbEdit* percentEdit;
    DbNavigator* navigator;
};

} // namespace kb::editors
