#pragma once

#include "OldDatabase.h"

#include <QString>
#include <ostream>

// Bringing over the database of the program kultbuh replaces.
namespace kb::tools {

// Makes newFile with the program's schema and copies the five tables from
// old field by field, keeping every ID, in one transaction; then reads the
// new file back and compares every value with old. Writes one line per
// table with the rows read and written, and a note for every table or field
// of old that is not imported and every value refused or changed, to out.
// Throws (and leaves no newFile behind) when old lacks a table or field of
// the schema or holds one of an unfitting type, when newFile exists, when
// writing fails, or when the new file differs from old.
void importOldDatabase(const jet::OldDatabase& old, const QString& newFile, std::ostream& out);

} // namespace kb::tools
