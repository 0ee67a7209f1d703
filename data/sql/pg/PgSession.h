#pragma once

#include "DbError.h"

#include <QString>
#include <libpq-fe.h>
#include <memory>

namespace kb::sql::pg {

// The server connection a database connection and its statements share: the
// statements may outlive the connection object, never the session.
class Session {
public:
    explicit Session(PGconn* conn, QString shown) : conn_(conn), shown_(std::move(shown)) {}
    ~Session() { PQfinish(conn_); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    PGconn* conn() const { return conn_; }
    // "сервер H, база D".
    const QString& shown() const { return shown_; }
    // A name for the next prepared statement of the session.
    QByteArray nextStatementName() { return "kb_" + QByteArray::number(++statements_); }

    // A result that is no failure, or DbError with the server's message: a
    // lock that waited too long or a deadlock counts as busy; a lost
    // connection names the server and the database.
    using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;
    Result check(PGresult* result) const;
    // Runs a statement without parameters; throws as check() does.
    Result exec(const QString& sql) const;

    // Rows changed by the last statement that changed rows.
    int changes() const { return changes_; }
    void setChanges(const char* count) {
        if (count && *count)
            changes_ = QByteArray(count).toInt();
    }

private:
    PGconn* conn_;
    QString shown_;
    quint64 statements_ = 0;
    int changes_ = 0;
};

} // namespace kb::sql::pg
