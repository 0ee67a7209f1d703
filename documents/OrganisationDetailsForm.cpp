#include "OrganisationDetailsForm.h"

#include "ModalDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kb::documents {

namespace {

constexpr int kMaxLength = 255;

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(kMaxLength);
    edit->setMinimumWidth(320);
    return edit;
}

} // namespace

OrganisationDetailsForm::OrganisationDetailsForm(const OrganisationDetails& details, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("OrganisationDetailsForm"));
    setWindowTitle(QStringLiteral("Реквизиты организации"));
    nameEdit = makeEdit(this, "OrgNameEdit", details.name);
    headEdit = makeEdit(this, "HeadEdit", details.head);
    accountantEdit = makeEdit(this, "AccountantEdit", details.chiefAccountant);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Организация:"), nameEdit);
    form->addRow(QStringLiteral("Руководитель:"), headEdit);
    form->addRow(QStringLiteral("Главный бухгалтер:"), accountantEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

OrganisationDetails OrganisationDetailsForm::details() const {
    return {nameEdit->text().trimmed(), headEdit->text().trimmed(), accountantEdit->text().trimmed()};
}

void editOrganisationDetails(sql::Connection& connection, QWidget* parent) {
    OrganisationDetailsForm form(loadDetails(connection), parent);
    if (ui::dialogs().execDialog(form) == QDialog::Accepted)
        saveDetails(connection, form.details());
}

} // namespace kb::documents
