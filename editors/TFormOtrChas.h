#pragma once

#include "RecordEditorForm.h"

namespace kb::dataset {
class TDataM;
} // namespace kb::dataset

namespace kb::editors {

// The worked-days editor, "Отработанные дни" (its menu item reads
// "Отработанные часы"): one month's days worked of OtrChas at a time, the
// employee chosen from Sotr by name. Centred on the main window.
//
//   object name        member          field   what it holds
//   DBEdit1            idEdit          ID      the row's ID, read-only
//   DBLookupComboBox1  employeeLookup  IDSotr  employee, chosen by Sotr.FIO
//   DBEdit2            daysEdit        Count   days worked in the month
//   DBEdit3            monthEdit       Data    the month (a date)
//   DBNavigator1       navigator               moves, inserts, deletes, posts, cancels, refreshes
class TFormOtrChas : public RecordEditorForm {
    Q_OBJECT
public:
    TFormOtrChas(dataset::TDataM& dataModule, QWidget* mainWindow);

    DbEdit* idEdit;
    DbLookupComboBox* employeeLookup;
    DbEdit* daysEdit;
    DbEdit* monthEdit;
    DbNavigator* navigator;
};

} // namespace kb::editors
