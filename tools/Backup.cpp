#include "Backup.h"

#include "Connection.h"
#include "DatabaseCheck.h"
#include "DbError.h"
#include "FileBackup.h"
#include "FilePlacement.h"
#include "FileUseLocks.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kb::tools {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString defaultDestination(const QString& fileName) {
    const QFileInfo info(fileName);
    const QString folder = info.absoluteDir().filePath(QStringLiteral("backup"));
    if (!QDir().mkpath(folder))
        throw sql::DbError(QStringLiteral("Не удаётся создать папку резервных копий %1").arg(shown(folder)));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    return QDir(folder).filePath(QStringLiteral("%1-%2.mdb").arg(info.completeBaseName(), stamp));
}

} // namespace

QString backupDatabase(const QString& fileName, const QString& dest) {
    sql::Connection source(fileName);
    const QFileInfo info(dest.isEmpty() ? defaultDestination(fileName) : dest);
    const QString target = info.absoluteFilePath();
    if (info.isSymLink() && !info.exists())
        throw sql::DbError(QStringLiteral("Файл %1 - ссылка на несуществующий файл %2: резервная копия не сделана")
                               .arg(shown(target), info.symLinkTarget()));
    if (info.exists())
        throw sql::DbError(QStringLiteral("Файл %1 уже существует: резервная копия не сделана").arg(shown(target)));
    // Made under a name of its own and given the backup's name only when checked: a run killed half-way leaves
    // nothing the launcher would count as a backup.
    const QString part = temporaryBeside(target);
    try {
        {
            sql::Connection copy(part, sql::Connection::Mode::CreateNew);
            sql::copyDatabaseFile(source, copy);
            try {
                copy.checkIntegrity();
            } catch (const sql::DbError& e) {
                throw sql::DbError(QStringLiteral("Резервная копия не прошла проверку целостности и удалена. %1")
                                       .arg(QString::fromUtf8(e.what())));
            }
        }
        placeNew(part, target);
    } catch (const sql::DbError& e) {
        QFile::remove(part);
        if (e.isDiskFull())
            throw sql::DbError(
                QStringLiteral("Резервная копия %1 не сделана: на диске не хватает места").arg(shown(target)));
        throw;
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    return target;
}

namespace {

// SQLite's journals of a database file, moved with it.
const char* const kJournals[] = {"-journal", "-wal", "-shm"};

bool present(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// Journals moved from the file's names to the kept file's; put back when the restore stops.
class MovedJournals {
public:
    MovedJournals(QString from, QString to) : from_(std::move(from)), to_(std::move(to)) {}
    ~MovedJournals() {
        for (const char* suffix : moved_)
            QFile::rename(to_ + QLatin1String(suffix), from_ + QLatin1String(suffix));
    }
    void moveAll() {
        for (const char* suffix : kJournals) {
            if (!present(from_ + QLatin1String(suffix)))
                continue;
            if (::rename(QFile::encodeName(from_ + QLatin1String(suffix)).constData(),
                         QFile::encodeName(to_ + QLatin1String(suffix)).constData()) != 0)
                throw sql::DbError(QStringLiteral("Восстановление не выполнено: не удаётся перенести журнал %1: %2")
                                       .arg(shown(from_ + QLatin1String(suffix)), reason(errno)));
            moved_.push_back(suffix);
        }
    }
    void keep() { moved_.clear(); }

private:
    QString from_, to_;
    std::vector<const char*> moved_;
};

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// Writes the backup's bytes to a new file at path with the replaced file's owner, group and mode.
void writeCopy(const QString& backup, const QString& path, const struct stat* replaced) {
    QFile source(backup);
    if (!source.open(QIODevice::ReadOnly))
        throw sql::DbError(QStringLiteral("Восстановление не выполнено: %1").arg(source.errorString()));
    Descriptor out{::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
    const auto failed = [&](int error) {
        return sql::DbError(QStringLiteral("Восстановление не выполнено: не удаётся записать файл %1: %2")
                                .arg(shown(path), reason(error)));
    };
    if (out.fd < 0)
        throw failed(errno);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty())
            throw sql::DbError(QStringLiteral("Восстановление не выполнено: %1").arg(source.errorString()));
        for (qsizetype done = 0; done < chunk.size();) {
            const ssize_t n = ::write(out.fd, chunk.constData() + done, size_t(chunk.size() - done));
            if (n < 0 && errno != EINTR)
                throw failed(errno);
            done += n > 0 ? n : 0;
        }
    }
    if (replaced && ((::fchown(out.fd, replaced->st_uid, replaced->st_gid) != 0 && errno != EPERM) ||
                     ::fchmod(out.fd, replaced->st_mode & 07777) != 0))
        throw failed(errno);
    if (::fsync(out.fd) != 0)
        throw failed(errno);
}

} // namespace

QString restoreDatabase(const QString& backup, const QString& fileName) {
    // The file the name finally refers to is replaced; a link stays a link.
    const QFileInfo named(fileName);
    if (named.isSymLink() && !named.exists())
        throw sql::DbError(QStringLiteral("Файл %1 - ссылка на несуществующий файл %2: восстанавливать некуда")
                               .arg(shown(fileName), named.symLinkTarget()));
    const QString file = named.exists() ? named.canonicalFilePath() : named.absoluteFilePath();
    if (named.exists() && !named.isFile())
        throw sql::DbError(
            QStringLiteral("%1 - не обычный файл (папка, канал, сокет или устройство): восстановление не "
                           "выполнено")
                .arg(shown(file)));
    if (!QFileInfo(backup).isFile())
        throw sql::DbError(QStringLiteral("Резервная копия %1 не найдена").arg(shown(backup)));
    struct stat replaced {
    }, copy{};
    const bool exists = ::stat(QFile::encodeName(file).constData(), &replaced) == 0;
    if (exists && ::stat(QFile::encodeName(backup).constData(), &copy) == 0 && copy.st_dev == replaced.st_dev &&
        copy.st_ino == replaced.st_ino)
        throw sql::DbError(
            QStringLiteral("Резервная копия %1 и файл базы данных %2 - один и тот же файл: восстанавливать "
                           "нечего")
                .arg(shown(backup), shown(file)));
    const QString before = file + QStringLiteral(".before-restore");
    if (present(before))
        throw sql::DbError(QStringLiteral("Файл %1 от прошлого восстановления ещё на месте: перенесите его и повторите")
                               .arg(shown(before)));
    // From here on no descriptor of the file may be opened or closed: that would drop SQLite's lock.
    std::optional<sql::ExclusiveFileUse> use;
    if (exists)
        use.emplace(file);
    const QStringList problems = checkDatabase(backup);
    if (!problems.isEmpty())
        throw sql::DbError(QStringLiteral("Резервная копия %1 не годится для восстановления: %2")
                               .arg(shown(backup), problems.join(QStringLiteral("; "))));
    const QString part = temporaryBeside(file);
    try {
        writeCopy(backup, part, exists ? &replaced : nullptr);
        // The replaced bytes stay in a file of their own (a second name of the same file), and every journal of
        // the replaced file goes with it: left behind, SQLite would apply it to the restored file.
        MovedJournals journals(file, before);
        if (exists) {
            if (::link(QFile::encodeName(file).constData(), QFile::encodeName(before).constData()) != 0)
                throw sql::DbError(QStringLiteral("Восстановление не выполнено: не удаётся сохранить файл %1: %2")
                                       .arg(shown(before), reason(errno)));
            try {
                journals.moveAll();
            } catch (...) {
                QFile::remove(before);
                throw;
            }
        }
        if (::rename(QFile::encodeName(part).constData(), QFile::encodeName(file).constData()) != 0) {
            const int error = errno;
            QFile::remove(before);
            throw sql::DbError(QStringLiteral("Восстановление не выполнено: %1").arg(reason(error)));
        }
        journals.keep();
        syncFolder(file);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    return exists ? QStringLiteral("Файл %1 заменён резервной копией %2; прежний файл сохранён как %3")
                        .arg(shown(file), shown(backup), shown(before))
                  : QStringLiteral("Файл %1 восстановлен из резервной копии %2").arg(shown(file), shown(backup));
}

} // namespace kb::tools
