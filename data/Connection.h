#pragma once

#include "ColumnTypes.h"
#include "Value.h"

#include <QString>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kb {

// One prepared statement. Non-copyable, movable, finalized by its destructor.
class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, sqlite3_stmt* stmt, QString sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters are numbered from 1, as SQLite numbers them.
    int parameterCount() const;
    QString parameterName(int index) const;        // ":P1", or empty for "?"
    int parameterIndex(const QString& name) const; // 0 when absent; name with its ':'
    void bind(int index, const Value& value);      // DateTime binds as ISO text
    void clearBindings();

    // Runs one step: true while a row is ready, false when done.
    // Throws DbError with the engine's message when the statement fails.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    // Typed column value: NULL, INTEGER, REAL, TEXT as stored; a TEXT value of
    // a column declared DATETIME is read as a date-time when it parses.
    Value column(int column) const;
    QString declaredType(int column) const;
    // Steps through every remaining row and returns the values of each, in
    // column order. Throws DbError as step() does.
    std::vector<std::vector<Value>> fetchAll();

    sqlite3_stmt* handle() const { return stmt_; }
    const QString& sql() const { return sql_; }

private:
    void release() noexcept;
    [[noreturn]] void fail(int rc) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

// The one connection to the database file.
class Connection {
public:
    enum class Mode {
        OpenExisting, // the file must exist and be an SQLite database; it is never created
        CreateNew     // the file must not exist; a new empty database is made
    };

    // How long a statement waits for another connection's lock before it
    // fails with "database is locked".
    static constexpr int kDefaultBusyTimeoutMs = 5000;

    // fileName is taken relative to the working directory. Throws DbError
    // naming the file when it is missing, not a database, locked or unreadable.
    // Other processes may open the same file at the same time; every commit
    // is synchronous and goes through SQLite's rollback journal.
    explicit Connection(const QString& fileName, Mode mode = Mode::OpenExisting,
                        int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Prepares a statement as the program wrote it: the dialect layer first
    // rewrites what SQLite would read differently (see Dialect.h).
    Statement prepare(const QString& sql) const;
    // Prepares the text as SQLite reads it, without any rewriting.
    Statement prepareNative(const QString& sql) const;
    // Runs one or more statements without results (schema, pragmas).
    void execute(const QString& sql);

    // Declared column types of every table, read from the file at opening;
    // reloadColumnTypes() after changing the schema.
    const ColumnTypes& columnTypes() const { return *columnTypes_; }
    void reloadColumnTypes();

    qint64 lastInsertRowId() const;
    int changes() const;
    // The file's absolute path, fixed when the connection opened.
    const QString& fileName() const { return fileName_; }
    sqlite3* handle() const { return db_; }

private:
    void openFile(int busyTimeoutMs);
    void configure();
    [[noreturn]] void failOpening(const QString& action, int rc, const QString& engineMessage) const;

    sqlite3* db_ = nullptr;
    QString fileName_;
    std::unique_ptr<ColumnTypes> columnTypes_;
};

// A scoped write transaction: rolled back by the destructor unless commit() ran.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

} // namespace kb
