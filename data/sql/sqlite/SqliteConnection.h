#pragma once

#include "Connection.h"
#include "ConnectionEngine.h"

#include <memory>

class QFileInfo;
struct sqlite3;

namespace kb::sql {

class SharedFileUse;

// A database file opened by SQLite (see Connection for the modes and the
// file's shared use).
class SqliteConnection final : public ConnectionEngine {
public:
    SqliteConnection(const QString& fileName, Connection::Mode mode, int busyTimeoutMs);
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    std::unique_ptr<StatementEngine> prepare(const QString& sql) const override;
    void execute(const QString& sql) override;
    std::unique_ptr<ColumnTypes> readColumnTypes() const override;
    void checkIntegrity(bool quick) const override;
    int changes() const override;
    void begin() override;
    void beginReadSnapshot() override;
    void commit() override;
    void rollback() noexcept override;
    QString displayName() const override;

    const QString& fileName() const { return fileName_; }
    sqlite3* handle() const { return db_; }

private:
    void checkExisting(const QFileInfo& info, Connection::Mode mode) const;
    void openFile(int busyTimeoutMs, Connection::Mode mode);
    void configure(Connection::Mode mode);
    [[noreturn]] void failOpening(const QString& action, int rc, const QString& engineMessage) const;

    sqlite3* db_ = nullptr;
    QString fileName_;
    std::shared_ptr<SharedFileUse> use_;          // released after the engine's connection has closed
    mutable std::unique_ptr<ColumnTypes> opened_; // the column types read while opening, until asked for
};

} // namespace kb::sql
