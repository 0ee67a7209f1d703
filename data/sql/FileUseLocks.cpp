#include "FileUseLocks.h"

#include "DbError.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kb::sql {

namespace {

using FileKey = std::pair<dev_t, ino_t>;

struct Registry {
    std::mutex mutex;
    std::map<FileKey, std::weak_ptr<SharedFileUse>> uses;
};

Registry& registry() {
    static Registry r;
    return r;
}

int openForLock(const QString& path, int access = O_RDONLY) {
    const int fd = ::open(QFile::encodeName(path).constData(), access | O_CLOEXEC);
    if (fd < 0)
        throw DbError(QStringLiteral("Не удаётся открыть файл базы данных %1: %2")
                          .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno))),
                      SQLITE_CANTOPEN);
    return fd;
}

bool lock(int fd, int operation) {
    int rc = 0;
    do
        rc = ::flock(fd, operation | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    return rc == 0;
}

} // namespace

std::shared_ptr<SharedFileUse> SharedFileUse::acquire(const QString& absolutePath) {
    Registry& r = registry();
    const std::lock_guard guard(r.mutex);
    // Looked up by name first, so that no descriptor is opened (and closed) while another connection holds locks.
    struct stat st {};
    if (::stat(QFile::encodeName(absolutePath).constData(), &st) == 0) {
        if (auto held = r.uses[{st.st_dev, st.st_ino}].lock())
            return held;
    }
    const int fd = openForLock(absolutePath);
    if (::fstat(fd, &st) != 0 || !lock(fd, LOCK_SH)) {
        ::close(fd);
        throw DbError(QStringLiteral("База данных %1 сейчас восстанавливается из резервной копии: откройте её, "
                                     "когда восстановление закончится")
                          .arg(QDir::toNativeSeparators(absolutePath)),
                      SQLITE_BUSY);
    }
    std::shared_ptr<SharedFileUse> use(new SharedFileUse(fd));
    r.uses[{st.st_dev, st.st_ino}] = use;
    return use;
}

SharedFileUse::~SharedFileUse() {
    ::close(fd_); // the lock goes with the descriptor
}

// Opened for writing: SQLite's lock bytes can only be locked for writing through such a descriptor.
ExclusiveFileUse::ExclusiveFileUse(const QString& path) : fd_(openForLock(path, O_RDWR)) {
    if (!lock(fd_, LOCK_EX)) {
        ::close(fd_);
        throw DbError(QStringLiteral("Файл базы данных %1 открыт другой программой: закройте программу и "
                                     "повторите")
                          .arg(QDir::toNativeSeparators(path)),
                      SQLITE_BUSY);
    }
    // SQLite's own lock bytes (pending, reserved and the shared range, as its Unix file system layer places them):
    // holding all of them for writing is its exclusive lock, which no connection gets past, also one of a program
    // that never takes the flock above (the sqlite3 shell). Taken only when no connection holds any lock.
    constexpr off_t kPendingByte = 0x40000000;
    constexpr off_t kLockBytes = 2 + 510;
    struct flock sqliteLock {};
    sqliteLock.l_type = F_WRLCK;
    sqliteLock.l_whence = SEEK_SET;
    sqliteLock.l_start = kPendingByte;
    sqliteLock.l_len = kLockBytes;
    if (::fcntl(fd_, F_SETLK, &sqliteLock) != 0) {
        ::close(fd_);
        throw DbError(QStringLiteral("Базу данных %1 сейчас читает или изменяет другая программа (блокировка "
                                     "SQLite): дождитесь, пока она закончит, и повторите")
                          .arg(QDir::toNativeSeparators(path)),
                      SQLITE_BUSY);
    }
}

ExclusiveFileUse::~ExclusiveFileUse() {
    ::close(fd_); // both locks go with the descriptor
}

} // namespace kb::sql
