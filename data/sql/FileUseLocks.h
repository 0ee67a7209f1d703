#pragma once

#include <QString>
#include <memory>

namespace kb::sql {

// Advisory locks (flock) that tell whether a database file is in use. Every
// connection's process holds the shared lock while it has the file open; a
// restore from a backup takes the exclusive one, so it never replaces a file
// in use, and nothing opens the file while it is being replaced. These locks
// are apart from SQLite's own (fcntl) locks.
//
// A process holds one descriptor per file for all its connections and closes
// it only when the last of them has gone: closing any descriptor of a file
// drops every fcntl lock the process holds on it, SQLite's among them.
class SharedFileUse {
public:
    // The lock on the file at absolutePath, shared with this process's other
    // users of it. Throws DbError when the exclusive lock is held (a restore).
    static std::shared_ptr<SharedFileUse> acquire(const QString& absolutePath);
    ~SharedFileUse();
    SharedFileUse(const SharedFileUse&) = delete;
    SharedFileUse& operator=(const SharedFileUse&) = delete;

private:
    explicit SharedFileUse(int fd) : fd_(fd) {}
    int fd_;
};

// The exclusive lock on an existing file, held for the object's lifetime,
// together with SQLite's own exclusive lock (its fcntl lock bytes). Throws
// DbError naming the file when another process (or connection) has it open or
// holds any SQLite lock on it. The SQLite lock is the process's: it lasts only
// while the process opens and closes no other descriptor of the file.
class ExclusiveFileUse {
public:
    explicit ExclusiveFileUse(const QString& path);
    ~ExclusiveFileUse();
    ExclusiveFileUse(const ExclusiveFileUse&) = delete;
    ExclusiveFileUse& operator=(const ExclusiveFileUse&) = delete;

private:
    int fd_ = -1;
};

} // namespace kb::sql
