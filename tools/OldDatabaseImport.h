#pragma once

#include "OldDatabase.h"

#include <QString>
#include <ostream>

// Bringing over the database of the program kultbuh replaces.
namespace kb::tools {

// Makes the file target with the program's schema, or fills target, a
// server's database holding the schema and no rows, and copies the five
// tables from old field by field, keeping every ID, in one transaction; then
// reads target back and compares every value with old. Writes one line per
// table with the rows read and written, and a note for every table or field
// of old that is not imported and every value refused or changed, to out.
// Throws (and leaves no file target behind, nothing in a server's database)
// when old lacks a table or field of the schema or holds one of an unfitting
// type, when the file target exists or the server's database holds rows,
// when writing fails, or when target differs from old.
void importOldDatabase(const jet::OldDatabase& old, const QString& target, std::ostream& out);

} // namespace kb::tools
