#pragma once

#include <stdexcept>
#include <string>

class QString;

namespace kb::sql {

// Every failure of the database layer: opening the file, a statement the
// engine rejects, a value that does not convert. The message is meant for
// the user as it stands (UTF-8); the top-level handler shows it.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, int sqliteCode = 0);
    explicit DbError(const std::string& message, int sqliteCode = 0);

    // SQLite's primary result code, 0 when the error is the layer's own.
    int sqliteCode() const noexcept { return code_; }
    // Another connection held a lock past the busy timeout (SQLite's BUSY or LOCKED).
    bool isBusy() const noexcept;
    // The file is damaged or no database (SQLite's CORRUPT or NOTADB).
    bool isDamaged() const noexcept;
    // The disk ran full while writing (SQLite's FULL; on a server, no space left for its files).
    bool isDiskFull() const noexcept;

private:
    int code_;
};

// Another connection's lock outlasted the wait while writing (`cause` says so in the engine's words): the
// transaction is undone, nothing of it written. `database` names the file or the server's database.
DbError busyWriting(const QString& database, const DbError& cause);

} // namespace kb::sql
