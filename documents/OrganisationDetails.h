#pragma once

#include <QString>

namespace kb::sql {
class Connection;
}

// The organisation's details that the documents print: its name and the names
// of the head and of the chief accountant. They live in the database, so every
// accountant of a department prints the same, in a table of their own that a
// file gains on the first save of the details; the other tables stay as they are.
namespace kb::documents {

struct OrganisationDetails {
    QString name;
    QString head;
    QString chiefAccountant;
};

// The table's name; its columns are all text, so the table reads the same on every engine.
inline constexpr const char* kDetailsTable = "Rekvizity";

// The stored details, or empty ones when the file has no such table or no row in it.
OrganisationDetails loadDetails(const sql::Connection& connection);
// Stores the details in one transaction, creating the table first when the file has none.
void saveDetails(sql::Connection& connection, const OrganisationDetails& details);

} // namespace kb::documents
