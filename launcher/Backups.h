#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kb::launcher {

// The backups of a data folder: backup/BAZA-YYYY-MM-DD-HHMMSS.mdb, as
// kultbuh-db backup names them, the time in the name being when it was taken.
// Files of other names in that folder are not backups and are left alone. A
// name dated after now (a clock that was wrong, a name given by hand) proves
// nothing: such a backup never counts as fresh, is never removed as if it
// were the newest, and is reported.

// The number of backups kept.
constexpr int kBackupsKept = 30;

// How far a name may be dated after now and still count: the backup taken in
// this very run is named a moment after the launcher began.
constexpr int kClockSlackSeconds = 600;

struct BackupSurvey {
    bool due = true;    // no backup dated up to now, or the newest of them taken more than a day before now
    QStringList future; // the names dated after now
};

BackupSurvey surveyBackups(const QString& dataFolder, const QDateTime& now);

// Removes the oldest backups dated up to now beyond the newest `keep`; throws
// when one cannot be removed.
void pruneBackups(const QString& dataFolder, int keep, const QDateTime& now);

} // namespace kb::launcher
