#include "TFormSotr.h"

#include "DataModule.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"

namespace kb::editors {

TFormSotr::TFormSotr(dataset::TDataM& dataModule, QWidget* mainWindow)
    : RecordEditorForm("FormSotr", QStringLiteral("Сотрудники"), {369, 229}, Placement::Desktop, mainWindow) {
    dataset::DataSource* const source = dataModule.staffSource;
    addLabel(QStringLiteral("Табельный номер:"), {8, 12});
    idEdit = addEdit("DBEdit1", {127, 8, 82, 21}, source, QStringLiteral("ID"));
    addLabel(QStringLiteral("ФИО сотрудника:"), {8, 39});
    nameEdit = addEdit("DBEdit2", {127, 35, 232, 21}, source, QStringLiteral("FIO"));
    addLabel(QStringLiteral("Должность:"), {8, 67});
    positionLookup = addLookup("DBLookupComboBox1", {127, 62, 232, 21}, source, QStringLiteral("IDDolznost"),
                               dataModule.positionSource, QStringLiteral("Nazvanie"));
    addLabel(QStringLiteral("Дата рождения:"), {8, 93});
    birthDateEdit = addEdit("DBEdit3", {127, 89, 96, 21}, source, QStringLiteral("DataR"), 8);
    addLabel(QStringLiteral("Адрес:"), {8, 120});
    addressEdit = addEdit("DBEdit4", {63, 116, 296, 21}, source, QStringLiteral("Adres"));
    addLabel(QStringLiteral("Телефон:"), {8, 146});
    phoneEdit = addEdit("DBEdit7", {74, 143, 283, 21}, source, QStringLiteral("Telefon"), 13);
    addLabel(QStringLiteral("Паспорт:"), {8, 173});
    passportEdit = addEdit("DBEdit5", {74, 170, 118, 21}, source, QStringLiteral("Passport"), 11);
    addLabel(QStringLiteral("ИНН:"), {214, 174});
    taxNumberEdit = addEdit("DBEdit6", {247, 170, 114, 21}, source, QStringLiteral("INN"), 12);
    navigator = addNavigator({11, 197, 350, 25}, source);
    setTabChain({idEdit, navigator, nameEdit, positionLookup, birthDateEdit, addressEdit, passportEdit, taxNumberEdit,
                 phoneEdit});
}

} // namespace kb::editors
