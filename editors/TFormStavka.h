#pragma once

#include "RecordEditorForm.h"

namespace kb::dataset {
class TDataM;
} // namespace kb::dataset

namespace kb::editors {

// The salary rate editor, "Оклад": one monthly salary of Stavka at a time,
// the employee chosen from Sotr by name. Centred on the main window.
//
//   object name        member          field   what it holds
//   DBEdit1            idEdit          ID      the rate's ID, read-only
//   DBLookupComboBox1  employeeLookup  IDSotr  employee, chosen by Sotr.FIO
//   DBEdit2            salaryEdit      Sum     monthly salary rate
//   DBNavigator1       navigator               moves, inserts, deletes, posts, cancels, refreshes
class TFormStavka : public RecordEditorForm {
    Q_OBJECT
public:
    TFormStavka(dataset::TDataM& dataModule, QWidget* mainWindow);

    DbEdit* idEdit;
    DbLookupComboBox* employeeLookup;
    DbEdit* salaryEdit;
    DbNavigator* navigator;
};

} // namespace kb::editors
