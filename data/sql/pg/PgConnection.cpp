#include "PgConnection.h"

#include "ColumnTypes.h"
#include "DatabaseName.h"
#include "DbError.h"
#include "PgSqlText.h"
#include "PgStatement.h"
#include "ServerSchema.h"

#include <QRegularExpression>

namespace kb::sql {

namespace {

constexpr int kCantOpen = 14; // SQLite's code for a database that cannot be opened

// What libpq makes of one key of a connection string, empty when absent.
QString optionOf(const QByteArray& conninfo, const char* key) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.constData(), &error);
    PQfreemem(error);
    QString value;
    for (PQconninfoOption* o = options; o && o->keyword; ++o) {
        if (qstrcmp(o->keyword, key) == 0 && o->val)
            value = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    return value;
}

// "сервер H, база D" from what libpq holds, else from the string itself.
QString shownName(PGconn* conn, const QByteArray& conninfo) {
    const auto pick = [](const char* held, const QString& written, const char* fallback) {
        if (held && *held)
            return QString::fromUtf8(held);
        return written.isEmpty() ? QString::fromUtf8(fallback) : written;
    };
    const QString host = pick(conn ? PQhost(conn) : nullptr, optionOf(conninfo, "host"), "по умолчанию");
    const QString db = pick(conn ? PQdb(conn) : nullptr, optionOf(conninfo, "dbname"), "по умолчанию");
    return QStringLiteral("сервер %1, база %2").arg(host, db);
}

void ignoreNotice(void*, const char*) {}

// What the user can do about libpq's most common refusals, in Russian; the
// server's own words follow for the administrator.
QString connectionHint(const QString& reason) {
    static const struct {
        const char* found;
        const char* hint;
    } kHints[] = {
        {"password authentication failed", "сервер не принял имя пользователя или пароль"},
        {"no password supplied", "сервер требует пароль, а он не указан (~/.pgpass или PGPASSWORD)"},
        {"no pg_hba.conf entry", "сервер не пускает этого пользователя к этой базе с этого компьютера"},
        {"FATAL:  database \"", "такой базы данных на сервере нет"},
        {"FATAL:  role \"", "такого пользователя на сервере нет"},
        {"timeout expired", "сервер не отвечает"},
        {"Connection refused", "сервер не запущен или не принимает подключения"},
        {"No such file or directory", "сервер не запущен или не принимает подключения"},
        {"could not translate host name", "такого имени сервера сеть не знает"},
    };
    for (const auto& h : kHints) {
        if (reason.contains(QLatin1String(h.found)))
            return QString::fromUtf8(h.hint) + QStringLiteral(". Ответ сервера: ");
    }
    return {};
}

} // namespace

PgConnection::PgConnection(const QString& conninfo, Connection::Mode mode, int lockTimeoutMs) {
    const QByteArray info = conninfo.trimmed().toUtf8();
    // A password written into the name would stand on command lines, in settings and in shell histories; and
    // libpq's message about a name it cannot read may quote the name whole.
    if (!optionOf(info, "password").isEmpty() || withoutPassword(conninfo) != conninfo.trimmed())
        throw DbError(QStringLiteral("Пароль в строке подключения к базе данных (%1) не принимается: укажите его в "
                                     "~/.pgpass, в файле служб или в переменной PGPASSWORD")
                          .arg(shownName(nullptr, info)),
                      kCantOpen);
    // The string's own settings come after the defaults and win; the encoding is always the program's.
    const char* keys[] = {"connect_timeout", "fallback_application_name", "dbname", "client_encoding", nullptr};
    const char* values[] = {"10", "kultbuh", info.constData(), "UTF8", nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 1);
    if (!conn)
        throw DbError(QStringLiteral("Не удаётся подключиться к серверу баз данных: не хватает памяти"), kCantOpen);
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString shown = shownName(conn, info);
        const QString reason = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
        PQfinish(conn);
        throw DbError(QStringLiteral("Не удаётся подключиться к базе данных (%1): %2%3")
                          .arg(shown, connectionHint(reason), reason),
                      kCantOpen);
    }
    PQsetNoticeProcessor(conn, ignoreNotice, nullptr);
    const bool readOnly = mode == Connection::Mode::ReadOnly || mode == Connection::Mode::Snapshot;
    // Floats as the shortest text that reads back as the same double; date-times as ISO text.
    const QString setup = QStringLiteral("SET extra_float_digits = 1; SET DateStyle = 'ISO, YMD'; SET lock_timeout = "
                                         "%1; SET default_transaction_read_only = %2")
                              .arg(lockTimeoutMs)
                              .arg(readOnly ? QLatin1String("on") : QLatin1String("off"));
    session_ = std::make_shared<pg::Session>(conn, shownName(conn, info), setup);
    session_->exec(setup);
    checkSchema(mode);
}

void PgConnection::checkSchema(Connection::Mode mode) const {
    const QString shown = session_->shown();
    const auto found = session_->exec(
        QStringLiteral("SELECT to_regclass('%1') IS NOT NULL, (SELECT count(*) FROM pg_class c WHERE c.relnamespace "
                       "= current_schema()::regnamespace AND c.relkind IN ('r', 'p', 'v'))")
            .arg(QLatin1String(kSchemaVersionTable)));
    const bool versioned = PQgetvalue(found.get(), 0, 0)[0] == 't';
    const bool empty = QByteArray(PQgetvalue(found.get(), 0, 1)) == "0";
    if (mode == Connection::Mode::CreateNew) {
        if (!empty)
            throw DbError(QStringLiteral("База данных (%1) не пуста: в ней уже есть таблицы, новая база данных в ней "
                                         "не создана")
                              .arg(shown),
                          kCantOpen);
        return;
    }
    if (!versioned)
        throw DbError(QStringLiteral("База данных (%1) не содержит таблиц программы: создайте их командой "
                                     "kultbuh-db create")
                          .arg(shown),
                      kCantOpen);
    const auto version = session_->exec(QStringLiteral("SELECT max(version) FROM %1").arg(kSchemaVersionTable));
    const int stored = QByteArray(PQgetvalue(version.get(), 0, 0)).toInt();
    if (stored != kSchemaVersion)
        throw DbError(QStringLiteral("База данных (%1) имеет схему версии %2, а программа работает со схемой версии "
                                     "%3")
                          .arg(shown)
                          .arg(stored)
                          .arg(kSchemaVersion),
                      kCantOpen);
}

std::unique_ptr<StatementEngine> PgConnection::prepare(const QString& sql) const {
    pg::ServerText text = pg::serverText(sql, names_, tables_);
    static const QRegularExpression reading(
        QStringLiteral("^\\s*(SELECT|VALUES|SHOW|EXPLAIN|TABLE)\\b|^\\s*WITH\\b(?!.*\\b(INSERT|UPDATE|DELETE)\\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const bool readOnly = reading.match(text.sql).hasMatch();
    return std::make_unique<pg::PgStatement>(session_, text.sql, std::move(text.parameters), readOnly);
}

void PgConnection::execute(const QString& sql) {
    const auto result = session_->exec(sql);
    session_->setChanges(PQcmdTuples(result.get()));
}

std::unique_ptr<ColumnTypes> PgConnection::readColumnTypes() const {
    auto types = std::make_unique<ColumnTypes>();
    const auto result = session_->exec(QStringLiteral(
        "SELECT c.relname, a.attname, format_type(a.atttypid, a.atttypmod) FROM pg_class c JOIN pg_attribute a ON "
        "a.attrelid = c.oid WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind IN ('r', 'p', 'v') "
        "AND a.attnum > 0 AND NOT a.attisdropped AND c.relname NOT LIKE 'kb\\_%' ORDER BY c.oid, a.attnum"));
    QHash<QString, QString> names;
    QSet<QString> tables;
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        const QString table = QString::fromUtf8(PQgetvalue(result.get(), r, 0));
        const QString column = QString::fromUtf8(PQgetvalue(result.get(), r, 1));
        types->add(table, column, QString::fromUtf8(PQgetvalue(result.get(), r, 2)));
        names.insert(table.toLower(), table);
        tables.insert(table.toLower());
        names.insert(column.toLower(), column);
    }
    names_ = std::move(names);
    tables_ = std::move(tables);
    return types;
}

// The server keeps its files consistent itself; what can be checked from here is that it answers.
void PgConnection::checkIntegrity(bool) const {
    session_->exec(QStringLiteral("SELECT 1"));
}

void PgConnection::begin() {
    session_->exec(QStringLiteral("BEGIN"));
    session_->setInTransaction(true);
}

// Every statement of the transaction sees the snapshot its first one took, whatever others commit meanwhile.
void PgConnection::beginReadSnapshot() {
    session_->exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
}

void PgConnection::commit() {
    pg::Session::Result result(nullptr, &PQclear);
    try {
        result = session_->exec(QStringLiteral("COMMIT"));
    } catch (const DbError&) {
        // The server may have written the transaction before the connection went: saying nothing was written
        // would invite the same data typed twice.
        if (PQstatus(session_->conn()) == CONNECTION_BAD)
            throw session_->lostDuringCommit();
        throw;
    }
    session_->setInTransaction(false);
    // A transaction the server has given up on ends with ROLLBACK, without an error.
    if (QByteArray(PQcmdStatus(result.get())) != "COMMIT")
        throw DbError(QStringLiteral("Изменения не записаны (%1): сервер отменил транзакцию").arg(session_->shown()));
}

void PgConnection::rollback() noexcept {
    session_->setInTransaction(false);
    if (PQstatus(session_->conn()) == CONNECTION_OK)
        PQclear(PQexec(session_->conn(), "ROLLBACK"));
}

} // namespace kb::sql
