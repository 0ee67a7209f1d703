#include "PgSession.h"

namespace kb::sql::pg {

namespace {

// The codes the layer's error carries, as SQLite's result codes name them.
constexpr int kError = 1;
constexpr int kBusy = 5;
constexpr int kIoError = 10;

QString field(const PGresult* result, int code) {
    const char* text = result ? PQresultErrorField(result, code) : nullptr;
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

Session::Result Session::check(PGresult* raw) const {
    Result result(raw, &PQclear);
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY)
        return result;
    if (PQstatus(conn_) == CONNECTION_BAD)
        throw lost();
    const QString state = field(result.get(), PG_DIAG_SQLSTATE);
    QString message = field(result.get(), PG_DIAG_MESSAGE_PRIMARY);
    if (message.isEmpty())
        message = QString::fromUtf8(PQerrorMessage(conn_)).trimmed();
    // A role without a right: say which database refused it, as every other refusal of the server does.
    if (state == QLatin1String("42501"))
        message = QStringLiteral("Нет прав на это действие в базе данных (%1): %2").arg(shown(), message);
    const bool busy =
        state == QLatin1String("55P03") || state == QLatin1String("40P01") || state == QLatin1String("40001");
    if (!busy)
        throw DbError(message, kError);
    // Inside a write transaction a row another user keeps locked, or the table's growth, may be waited for by any
    // statement: the whole transaction is undone then.
    const DbError error(message, kBusy);
    if (inTransaction_)
        throw busyWriting(shown_, error);
    throw error;
}

Session::Result Session::exec(const QString& sql) {
    reconnectIfLost();
    return check(PQexec(conn_, sql.toUtf8().constData()));
}

DbError Session::lost() const {
    return DbError(QStringLiteral("Связь с сервером баз данных прервана (%1): %2. Незавершённые изменения не записаны; "
                                  "следующее действие подключится к серверу заново")
                       .arg(shown_, QString::fromUtf8(PQerrorMessage(conn_)).trimmed()),
                   kIoError);
}

DbError Session::lostDuringCommit() const {
    return DbError(
        QStringLiteral("Связь с сервером баз данных прервана во время записи изменений (%1): %2. Записаны ли "
                       "они, неизвестно: обновите данные и проверьте их, прежде чем вводить снова; следующее "
                       "действие подключится к серверу заново")
            .arg(shown_, QString::fromUtf8(PQerrorMessage(conn_)).trimmed()),
        kIoError);
}

void Session::reconnectIfLost() {
    if (PQstatus(conn_) != CONNECTION_BAD)
        return;
    if (inTransaction_)
        throw lost();
    PQreset(conn_);
    if (PQstatus(conn_) != CONNECTION_OK)
        throw DbError(QStringLiteral("Связь с сервером баз данных прервана (%1), и подключиться к нему заново не "
                                     "удалось: %2. Проверьте сеть и сервер и повторите действие")
                          .arg(shown_, QString::fromUtf8(PQerrorMessage(conn_)).trimmed()),
                      kIoError);
    ++generation_;
    exec(setup_);
}

} // namespace kb::sql::pg
