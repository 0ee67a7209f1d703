#pragma once

#include "RecordEditorForm.h"

namespace kb::dataset {
class TDataM;
} // namespace kb::dataset

namespace kb::editors {

// The employee editor, "Сотрудники": one employee of Sotr at a time, with
// the position chosen from Dolznost by name. Centred on the desktop.
//
//   object name        member          field       what it holds
//   DBEdit1            idEdit          ID          the employee's ID (personnel number), read-only
//   DBEdit2            nameEdit        FIO         full name
//   DBLookupComboBox1  positionLookup  IDDolznost  position, chosen by Dolznost.Nazvanie
//   DBEdit3            birthDateEdit   DataR       date of birth
//   DBEdit4            addressEdit     Adres       address
//   DBEdit7            phoneEdit       Telefon     telephone
//   DBEdit5            passportEdit    Passport    passport number
//   DBEdit6            taxNumberEdit   INN         taxpayer number
//   DBNavigator1       navigator                   moves, inserts, deletes, posts, cancels, refreshes
class TFormSotr : public RecordEditorForm {
    Q_OBJECT
public:
    TFormSotr(dataset::TDataM& dataModule, QWidget* mainWindow);

    DbEdit* idEdit;
    DbEdit* nameEdit;
    DbLookupComboBox* positionLookup;
    DbEdit* birthDateEdit;
    DbEdit* addressEdit;
    DbEdit* phoneEdit;
    DbEdit* passportEdit;
    DbEdit* taxNumberEdit;
    DbNavigator* navigator;
};

} // namespace kb::editors
