#pragma once

#include <QDateTime>
#include <QString>

namespace kb::launcher {

// The backups of a data folder: backup/BAZA-YYYY-MM-DD-HHMMSS.mdb, as
// kultbuh-db backup names them, the time in the name being when it was taken.
// Files of other names in that folder are not backups and are left alone.

// The number of backups kept.
constexpr int kBackupsKept = 30;

// No backup yet, or the newest was taken more than a day before now.
bool backupDue(const QString& dataFolder, const QDateTime& now);

// Removes the oldest backups beyond the newest `keep`; throws when one
// cannot be removed.
void pruneBackups(const QString& dataFolder, int keep);

} // namespace kb::launcher
