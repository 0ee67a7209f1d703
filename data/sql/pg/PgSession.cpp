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
        throw DbError(QStringLiteral("Связь с сервером баз данных прервана (%1): %2. Незавершённые изменения не "
                                     "записаны")
                          .arg(shown_, QString::fromUtf8(PQerrorMessage(conn_)).trimmed()),
                      kIoError);
    const QString state = field(result.get(), PG_DIAG_SQLSTATE);
    QString message = field(result.get(), PG_DIAG_MESSAGE_PRIMARY);
    if (message.isEmpty())
        message = QString::fromUtf8(PQerrorMessage(conn_)).trimmed();
    const bool busy =
        state == QLatin1String("55P03") || state == QLatin1String("40P01") || state == QLatin1String("40001");
    throw DbError(message, busy ? kBusy : kError);
}

Session::Result Session::exec(const QString& sql) const {
    return check(PQexec(conn_, sql.toUtf8().constData()));
}

} // namespace kb::sql::pg
