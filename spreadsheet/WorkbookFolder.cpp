#include "WorkbookFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace kb::spreadsheet {

namespace {

[[noreturn]] void refuse(const QString& message, const QString& path) {
    throw std::runtime_error(message.arg(path).toStdString());
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString exportFolderPath() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime.startsWith('/') && ::stat(runtime.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::geteuid())
        return QFile::decodeName(runtime) + QStringLiteral("/kultbuh");
    QString cache = QFile::decodeName(qgetenv("XDG_CACHE_HOME"));
    if (!cache.startsWith(u'/'))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/kultbuh/export");
}

void makePrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST))
        refuse(QStringLiteral("Не удалось создать папку для книг \"%1\": ") + systemReason(), path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        refuse(QStringLiteral("Вместо папки для книг \"%1\" найден файл или ссылка: записывать туда книги нельзя"),
               path);
    if (info.st_uid != ::geteuid())
        refuse(QStringLiteral("Папка для книг \"%1\" принадлежит другому пользователю: записывать туда книги нельзя"),
               path);
    if ((info.st_mode & 07777) != 0700 && ::chmod(name.constData(), 0700) != 0)
        refuse(QStringLiteral("Не удалось закрыть папку для книг \"%1\" от других пользователей: ") + systemReason(),
               path);
}

void removeOldWorkbooks(const QString& folder, std::chrono::seconds age) {
    static const QRegularExpression ours(QStringLiteral("^Книга[1-9][0-9]*\\.xlsx$"));
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-age.count());
    const QDir dir(folder);
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::Hidden))
        if (ours.match(file.fileName()).hasMatch() && file.lastModified().toUTC() < before)
            QFile::remove(file.filePath());
}

QString reserveWorkbookFile(const QString& folder) {
    for (int n = 1; n < 100000; ++n) {
        const QString path = QDir(folder).filePath(QStringLiteral("Книга%1.xlsx").arg(n));
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            // The umask only ever takes bits away; the writer needs the owner's two.
            [[maybe_unused]] const int changed = ::fchmod(fd, 0600);
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            break;
    }
    throw std::runtime_error(QStringLiteral("Не удалось создать файл книги в папке \"%1\"").arg(folder).toStdString());
}

} // namespace kb::spreadsheet
