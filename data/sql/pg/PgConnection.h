#pragma once

#include "Connection.h"
#include "ConnectionEngine.h"
#include "PgSession.h"

#include <QHash>
#include <QSet>
#include <memory>

namespace kb::sql {

// A database on a PostgreSQL server, reached through libpq. The connection
// string is handed to libpq as it is, so passwords come from where libpq
// looks for them (~/.pgpass, a service file, PGPASSWORD); messages name the
// server and the database only.
class PgConnection final : public ConnectionEngine {
public:
    PgConnection(const QString& conninfo, Connection::Mode mode, int lockTimeoutMs);

    std::unique_ptr<StatementEngine> prepare(const QString& sql) const override;
    void execute(const QString& sql) override;
    std::unique_ptr<ColumnTypes> readColumnTypes() const override;
    void checkIntegrity(bool quick) const override;
    int changes() const override { return session_->changes(); }
    void begin() override;
    void beginReadSnapshot() override;
    void commit() override;
    void rollback() noexcept override;
    QString displayName() const override { return session_->shown(); }

private:
    void checkSchema(Connection::Mode mode) const;

    std::shared_ptr<pg::Session> session_;
    mutable QHash<QString, QString> names_; // the schema's table and column names: lower case -> as spelt
    mutable QSet<QString> tables_;          // the tables' names in lower case
};

} // namespace kb::sql
