#pragma once

#include "ColumnTypes.h"
#include "Statement.h"

#include <QString>
#include <memory>

struct sqlite3;

namespace kb::sql {

class ConnectionEngine;

// The one connection to the database: a file opened by SQLite, or a database
// on a PostgreSQL server (see isServerName()).
class Connection {
public:
    enum class Mode {
        OpenExisting, // the file must exist and be an SQLite database; it is never created. On a server: the
                      // database must hold the program's schema of this version
        CreateNew,    // the file must not exist; a new empty database is made. On a server: the database must
                      // exist and be empty (no tables of the program, no schema version)
        ReadOnly,     // as OpenExisting, but nothing is ever written: statements that write fail
        Snapshot      // read-only, and the file is read as it lies: a journal beside it is neither
                      // applied nor looked at (for a diagnosis that must not change the file)
    };

    // How long a statement waits for another connection's lock before it
    // fails with "database is locked".
    static constexpr int kDefaultBusyTimeoutMs = 5000;

    // name is a file path, taken relative to the working directory, or a
    // server connection (a postgresql:// URI or a libpq key=value string;
    // passwords come from libpq's own places, never from the name shown).
    // Throws DbError naming the file, or the server and the database, when
    // it is missing, not a database, locked, unreadable or unreachable.
    // Other processes may open the same file at the same time; every commit
    // is synchronous and goes through SQLite's rollback journal. While open,
    // the connection holds the file's shared use (see SharedFileUse), so a
    // restore from a backup does not replace it.
    explicit Connection(const QString& name, Mode mode = Mode::OpenExisting, int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Prepares one statement as the engine reads it, without the dialect's
    // rewriting. On a server, parameters (?, ?NNN, :Name) are numbered as
    // SQLite numbers them and unquoted names of the schema's tables and
    // columns keep their case. Throws DbError when the text is empty or holds
    // more than one statement.
    Statement prepareNative(const QString& sql) const;
    // Runs one or more statements without results (schema, settings).
    void execute(const QString& sql);

    // Declared column types of every table, read at opening;
    // reloadColumnTypes() after changing the schema.
    const ColumnTypes& columnTypes() const { return *columnTypes_; }
    void reloadColumnTypes();

    // The engine's integrity check of the whole database; quick leaves out
    // the indexes' agreement with their tables. Throws DbError naming the
    // database and what was found when it is damaged.
    void checkIntegrity(bool quick = false) const;

    // Rows changed by the last INSERT, UPDATE or DELETE.
    int changes() const;
    // Whether the database is on a server rather than in a file.
    bool isServer() const { return !sqlite_; }
    // The file's absolute path, fixed when the connection opened; on a server
    // the same as displayName().
    const QString& fileName() const { return name_; }
    // The database as messages name it: the file's path, or "сервер H, база D"
    // (never a password).
    QString displayName() const;
    // SQLite's handle, for registering functions and collations on the
    // connection; null on a server.
    sqlite3* handle() const { return sqlite_; }

private:
    friend class Transaction;
    friend class ReadSnapshot;
    ConnectionEngine& engine() const { return *engine_; }

    std::unique_ptr<ConnectionEngine> engine_;
    sqlite3* sqlite_ = nullptr;
    QString name_;
    std::unique_ptr<ColumnTypes> columnTypes_;
};

} // namespace kb::sql
