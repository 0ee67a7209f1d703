#pragma once

#include "OrganisationDetails.h"

#include <QDialog>

class QLineEdit;

namespace kb::documents {

// "Реквизиты организации": the organisation's name and the names of the head
// and of the chief accountant, filled with the stored details.
//
//   object name      member
//   OrgNameEdit      nameEdit
//   HeadEdit         headEdit
//   AccountantEdit   accountantEdit
class OrganisationDetailsForm : public QDialog {
    Q_OBJECT
public:
    explicit OrganisationDetailsForm(const OrganisationDetails& details, QWidget* parent = nullptr);
    OrganisationDetails details() const;

    QLineEdit* nameEdit;
    QLineEdit* headEdit;
    QLineEdit* accountantEdit;
};

// Shows the form through the modal helpers and, on OK, stores what it holds.
void editOrganisationDetails(sql::Connection& connection, QWidget* parent);

} // namespace kb::documents
