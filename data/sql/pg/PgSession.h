#pragma once

#include "DbError.h"

#include <QString>
#include <libpq-fe.h>
#include <memory>

namespace kb::sql::pg {

// The server connection a database connection and its statements share: the
// statements may outlive the connection object, never the session. A
// connection lost (the server restarted, the network dropped) fails the
// statement that finds it so; the next use connects anew, once.
class Session {
public:
    // setup: the statements that give each connection of the session its settings: the caller runs them on the
    // first, reconnectIfLost() on each later one.
    Session(PGconn* conn, QString shown, QString setup)
        : conn_(conn), shown_(std::move(shown)), setup_(std::move(setup)) {}
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
    // Runs a statement without parameters (after reconnectIfLost()); throws as check() does.
    Result exec(const QString& sql);

    // Before each use: a connection found lost is made anew with the session's settings, once per call; DbError
    // saying so when that fails, or when a transaction was open on the lost one (its statements are gone with it,
    // and those after it must not run outside it: the transaction's end comes first).
    void reconnectIfLost();
    // Counts the connections made: a statement prepared on an earlier one is unknown to the server now.
    quint64 generation() const { return generation_; }
    // Whether a transaction the program began is open (set by begin, cleared by commit and rollback).
    void setInTransaction(bool open) { inTransaction_ = open; }

    // The connection lost while the server was committing: whether the transaction was written cannot be known.
    DbError lostDuringCommit() const;

    // Rows changed by the last statement that changed rows.
    int changes() const { return changes_; }
    void setChanges(const char* count) {
        if (count && *count)
            changes_ = QByteArray(count).toInt();
    }

private:
    DbError lost() const;

    PGconn* conn_;
    QString shown_;
    QString setup_;
    quint64 generation_ = 0;
    bool inTransaction_ = false;
    quint64 statements_ = 0;
    int changes_ = 0;
};

} // namespace kb::sql::pg
