#include "Connection.h"
#include "DbError.h"
#include "FileBackup.h"

#include <memory>
#include <sqlite3.h>

namespace kb::sql {

namespace {

struct BackupFinish {
    void operator()(sqlite3_backup* b) const { sqlite3_backup_finish(b); }
};

} // namespace

void copyDatabaseFile(const Connection& source, Connection& copy) {
    if (!source.handle() || !copy.handle())
        throw DbError(QStringLiteral("Копия страниц возможна только между файлами баз данных"));
    std::unique_ptr<sqlite3_backup, BackupFinish> backup(
        sqlite3_backup_init(copy.handle(), "main", source.handle(), "main"));
    if (!backup)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(copy.handle())), sqlite3_errcode(copy.handle()));
    constexpr int kPauseMs = 50;
    int rc = SQLITE_OK;
    for (int waited = 0; waited <= Connection::kDefaultBusyTimeoutMs; waited += kPauseMs) {
        rc = sqlite3_backup_step(backup.get(), -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        sqlite3_sleep(kPauseMs);
    }
    const int finished = sqlite3_backup_finish(backup.release());
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw DbError(QStringLiteral("База данных %1 занята другим пользователем или программой: резервная копия не "
                                     "сделана")
                          .arg(source.displayName()),
                      rc);
    if (rc != SQLITE_DONE || finished != SQLITE_OK)
        throw DbError(QStringLiteral("Резервная копия не сделана: %1").arg(QString::fromUtf8(sqlite3_errstr(rc))), rc);
}

} // namespace kb::sql
