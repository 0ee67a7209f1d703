#include "FilePlacement.h"

#include "DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kb::tools {

QString temporaryBeside(const QString& finalPath) {
    const QFileInfo info(finalPath);
    return info.absoluteDir().filePath(QStringLiteral(".%1.%2.part")
                                           .arg(info.fileName())
                                           .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0')));
}

QString reason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("на диске не хватает места");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет доступа");
    case EROFS:
        return QStringLiteral("файловая система доступна только для чтения");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

void syncFolder(const QString& path) {
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void placeNew(const QString& temporary, const QString& finalPath) {
    const QByteArray from = QFile::encodeName(temporary), to = QFile::encodeName(finalPath);
    int rc = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) { // a file system without that rename
        rc = ::link(from.constData(), to.constData());
        if (rc == 0)
            ::unlink(from.constData());
    }
    const QString shown = QDir::toNativeSeparators(QFileInfo(finalPath).absoluteFilePath());
    if (rc != 0 && errno == EEXIST)
        throw sql::DbError(QStringLiteral("Файл %1 уже существует; он не будет перезаписан").arg(shown));
    if (rc != 0)
        throw sql::DbError(QStringLiteral("Не удаётся дать файлу имя %1: %2").arg(shown, reason(errno)));
    syncFolder(finalPath);
}

} // namespace kb::tools
