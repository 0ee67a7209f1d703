#pragma once

#include <QString>

namespace kb::tools {

// Copies the database file through SQLite's online backup: one consistent
// state of the file, even while the program or another writer has it open.
// dest empty: backup/NAME-YYYY-MM-DD-HHMMSS.mdb in the folder of the file
// (NAME the file's name without its extension), the folder made if needed.
// An existing file is never overwritten. The copy must pass the integrity
// check; a copy that fails it, or any failure on the way, leaves no copy.
// Returns the copy's path. Throws DbError or std::runtime_error.
QString backupDatabase(const QString& fileName, const QString& dest = {});

// Replaces the database file (the file the name finally refers to, when it
// is a link) with a backup after checking the backup as `check` does.
// Refuses while any process has the file open (its shared use, see
// FileUse.h) or holds any SQLite lock on it, and when the backup is the file
// itself. The replaced file stays beside it as FILE.before-restore, with
// every journal it has; the backup is copied, with the replaced file's owner,
// group and mode, to a temporary file beside the file, which then takes its
// name at once. Returns what was done, naming the files.
QString restoreDatabase(const QString& backup, const QString& fileName);

} // namespace kb::tools
