#pragma once

#include "OldDatabase.h"

#include <QString>
#include <vector>

namespace kbtest {

// Appends rows to a table of a Jet 4.0 file with libmdb's mdb_insert_row,
// one cell per column of the table in its order: an integer for a long
// integer column, a day number for a date-time, text as UTF-16. The
// table's indexes are left as they were (the reader scans the table); its
// row count in the table definition is raised as Jet does.
void appendJetRows(const QString& fileName, const QString& table, const std::vector<kb::jet::Row>& rows);

} // namespace kbtest
