#pragma once

#include <QString>
#include <QStringList>

namespace kb::tools {

// Checks an existing database file: SQLite's integrity check, then that every
// table and field of the program's schema is there with a declared type of the
// same kind, and that ID is the key of each table. Never writes: the file is
// opened read-only, and a journal beside it is reported, not applied. Returns
// the faults found, one message each; empty when all is well.
QStringList checkDatabase(const QString& fileName);

} // namespace kb::tools
