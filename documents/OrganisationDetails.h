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
    bool operator==(const OrganisationDetails&) const = default;
};

// The table's name; its columns are all text, so the table reads the same on every engine.
inline constexpr const char* kDetailsTable = "Rekvizity";

// Whether the database had the table when the connection last read its tables.
bool hasDetailsTable(const sql::Connection& connection);
// The stored details, or empty ones when the file has no such table or no row in it.
OrganisationDetails loadDetails(const sql::Connection& connection);
// The empty table, unless the database has it already (what a server's database is made with, so that an
// accountant's role needs rights on its rows only).
void createDetailsTable(sql::Connection& connection);
// Stores the details in the caller's write transaction, creating the table first when the database has none.
void writeDetails(sql::Connection& connection, const OrganisationDetails& details);
// Stores the details in one transaction of its own.
void saveDetails(sql::Connection& connection, const OrganisationDetails& details);

} // namespace kb::documents
