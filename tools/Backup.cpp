#include "Backup.h"

#include "Connection.h"
#include "DatabaseCheck.h"
#include "DbError.h"
#include "FileUse.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <unistd.h>

namespace kb::tools {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString defaultDestination(const QString& fileName) {
    const QFileInfo info(fileName);
    const QString folder = info.absoluteDir().filePath(QStringLiteral("backup"));
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("Не удаётся создать папку резервных копий %1").arg(shown(folder)));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    return QDir(folder).filePath(QStringLiteral("%1-%2.mdb").arg(info.completeBaseName(), stamp));
}

struct BackupFinish {
    void operator()(sqlite3_backup* b) const { sqlite3_backup_finish(b); }
};

// Copies every page in one step, so that the copy is of one state of the
// source; a step that meets a writer's lock is tried again for a while.
void copyPages(Connection& source, Connection& copy) {
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
                          .arg(shown(source.fileName())),
                      rc);
    if (rc != SQLITE_DONE || finished != SQLITE_OK)
        throw DbError(QStringLiteral("Резервная копия не сделана: %1").arg(QString::fromUtf8(sqlite3_errstr(rc))), rc);
}

} // namespace

QString backupDatabase(const QString& fileName, const QString& dest) {
    Connection source(fileName);
    const QString target = QFileInfo(dest.isEmpty() ? defaultDestination(fileName) : dest).absoluteFilePath();
    if (QFileInfo::exists(target))
        throw DbError(QStringLiteral("Файл %1 уже существует: резервная копия не сделана").arg(shown(target)));
    bool made = false; // the copy is this call's to remove
    try {
        Connection copy(target, Connection::Mode::CreateNew);
        made = true;
        copyPages(source, copy);
        try {
            copy.checkIntegrity();
        } catch (const DbError& e) {
            throw DbError(QStringLiteral("Резервная копия не прошла проверку целостности и удалена. %1")
                              .arg(QString::fromUtf8(e.what())));
        }
    } catch (...) {
        if (made)
            QFile::remove(target);
        throw;
    }
    return target;
}

void restoreDatabase(const QString& backup, const QString& fileName) {
    const QString file = QFileInfo(fileName).absoluteFilePath();
    const QString before = file + QStringLiteral(".before-restore");
    std::optional<ExclusiveFileUse> use;
    if (QFileInfo::exists(file))
        use.emplace(file);
    if (QFileInfo::exists(before))
        throw DbError(QStringLiteral("Файл %1 от прошлого восстановления ещё на месте: перенесите его и повторите")
                          .arg(shown(before)));
    if (!QFileInfo(backup).isFile())
        throw DbError(QStringLiteral("Резервная копия %1 не найдена").arg(shown(backup)));
    const QStringList problems = checkDatabase(backup);
    if (!problems.isEmpty())
        throw DbError(QStringLiteral("Резервная копия %1 не годится для восстановления: %2")
                          .arg(shown(backup), problems.join(QStringLiteral("; "))));
    QFile source(backup);
    QSaveFile target(file);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        throw DbError(QStringLiteral("Восстановление не выполнено: %1")
                          .arg(source.isOpen() ? target.errorString() : source.errorString()));
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size())
            throw DbError(QStringLiteral("Восстановление не выполнено: %1").arg(target.errorString()));
    }
    // The replaced file keeps its name as the file before the restore, its journal (of a writer that crashed)
    // going with it, so that the new file is not rolled back with the old file's journal.
    const QString journal = file + QStringLiteral("-journal");
    const bool movedJournal = use && QFileInfo::exists(journal);
    if (use) {
        if (::link(QFile::encodeName(file).constData(), QFile::encodeName(before).constData()) != 0 &&
            !QFile::copy(file, before))
            throw DbError(
                QStringLiteral("Восстановление не выполнено: не удаётся сохранить файл %1").arg(shown(before)));
        if (movedJournal && !QFile::rename(journal, before + QStringLiteral("-journal"))) {
            QFile::remove(before);
            throw DbError(
                QStringLiteral("Восстановление не выполнено: не удаётся перенести журнал %1").arg(shown(journal)));
        }
    }
    if (!target.commit()) { // the file is as it was: put back what was moved
        if (movedJournal)
            QFile::rename(before + QStringLiteral("-journal"), journal);
        QFile::remove(before);
        throw DbError(QStringLiteral("Восстановление не выполнено: %1").arg(target.errorString()));
    }
}

} // namespace kb::tools
