#include "FileReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kb::reports {

namespace {

[[noreturn]] void failed(const QString& path, int error) {
    throw InOutError(QStringLiteral("Ошибка ввода-вывода: не удалось записать файл %1: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(error)))
                         .toStdString());
}

// The temporary file, removed unless it took the name.
struct Temporary {
    QByteArray name;
    int fd = -1;
    bool placed = false;
    ~Temporary() {
        if (fd >= 0)
            ::close(fd);
        if (!placed)
            ::unlink(name.constData());
    }
};

} // namespace

void replaceFile(const QString& path, const QByteArray& bytes) {
    // The temporary file lies in the folder of the name as given, and the rename replaces that name: a link of
    // that name is replaced by the file, never written through into the folder it points to.
    const QFileInfo info(path);
    Temporary temp;
    for (int attempt = 0; temp.fd < 0; ++attempt) {
        temp.name = QFile::encodeName(
            info.absoluteDir().filePath(QStringLiteral(".%1.%2.tmp")
                                            .arg(info.fileName())
                                            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
        temp.fd = ::open(temp.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temp.fd < 0 && (errno != EEXIST || attempt > 100)) {
            temp.placed = true; // nothing was made
            failed(path, errno);
        }
    }
    // An earlier file of that name keeps its permissions; a new one gets those the umask gives.
    struct stat earlier {};
    if (::lstat(QFile::encodeName(path).constData(), &earlier) == 0 && S_ISREG(earlier.st_mode))
        ::fchmod(temp.fd, earlier.st_mode & 07777);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(temp.fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            failed(path, errno);
        done += n > 0 ? n : 0;
    }
    if (::fsync(temp.fd) != 0)
        failed(path, errno);
    if (::rename(temp.name.constData(), QFile::encodeName(path).constData()) != 0)
        failed(path, errno);
    temp.placed = true;
}

} // namespace kb::reports
