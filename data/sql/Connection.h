#pragma once

#include "ColumnTypes.h"
#include "Statement.h"

#include <QString>
#include <memory>

class QFileInfo;
struct sqlite3;

namespace kb::sql {

class SharedFileUse;

// The one connection to the database file.
class Connection {
public:
    enum class Mode {
        OpenExisting, // the file must exist and be an SQLite database; it is never created
        CreateNew,    // the file must not exist; a new empty database is made
        ReadOnly,     // as OpenExisting, but nothing is ever written: statements that write fail
        Snapshot      // read-only, and the file is read as it lies: a journal beside it is neither
                      // applied nor looked at (for a diagnosis that must not change the file)
    };

    // How long a statement waits for another connection's lock before it
    // fails with "database is locked".
    static constexpr int kDefaultBusyTimeoutMs = 5000;

    // fileName is taken relative to the working directory. Throws DbError
    // naming the file when it is missing, not a database, locked or unreadable.
    // Other processes may open the same file at the same time; every commit
    // is synchronous and goes through SQLite's rollback journal. While open,
    // the connection holds the file's shared use (see SharedFileUse), so a
    // restore from a backup does not replace it.
    explicit Connection(const QString& fileName, Mode mode = Mode::OpenExisting,
                        int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Prepares one statement as SQLite reads it, without any rewriting.
    // Throws DbError when the text is empty or holds more than one statement.
    Statement prepareNative(const QString& sql) const;
    // Runs one or more statements without results (schema, pragmas).
    void execute(const QString& sql);

    // Declared column types of every table, read from the file at opening;
    // reloadColumnTypes() after changing the schema.
    const ColumnTypes& columnTypes() const { return *columnTypes_; }
    void reloadColumnTypes();

    // SQLite's integrity check of the whole file; quick leaves out the
    // indexes' agreement with their tables. Throws DbError naming the file and
    // what was found when the file is damaged.
    void checkIntegrity(bool quick = false) const;

    qint64 lastInsertRowId() const;
    int changes() const;
    // The file's absolute path, fixed when the connection opened.
    const QString& fileName() const { return fileName_; }
    // The engine's handle, for registering functions and collations on the connection.
    sqlite3* handle() const { return db_; }

private:
    void checkExisting(const QFileInfo& info, Mode mode) const;
    void openFile(int busyTimeoutMs, Mode mode);
    void configure(Mode mode);
    [[noreturn]] void failOpening(const QString& action, int rc, const QString& engineMessage) const;

    sqlite3* db_ = nullptr;
    QString fileName_;
    std::shared_ptr<SharedFileUse> use_; // released after the engine's connection has closed
    std::unique_ptr<ColumnTypes> columnTypes_;
};

} // namespace kb::sql
