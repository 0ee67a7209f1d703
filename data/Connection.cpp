#include "Connection.h"

#include "DateTimeText.h"
#include "DbError.h"
#include "Dialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <utility>

namespace kb {

namespace {

QString engineMessage(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
}

QString shownPath(const QString& fileName) {
    return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

QByteArray nativePath(const QString& fileName) {
    return QFile::encodeName(QFileInfo(fileName).absoluteFilePath());
}

// Prepares the first statement of text; stmt is null when the text holds only blanks and comments.
int prepareOne(sqlite3* db, const char* text, int length, sqlite3_stmt** stmt, const char** tail) {
    *stmt = nullptr;
    return sqlite3_prepare_v2(db, text, length, stmt, tail);
}

} // namespace

// ---------------------------------------------------------------- Statement

Statement::Statement(sqlite3* db, sqlite3_stmt* stmt, QString sql) : db_(db), stmt_(stmt), sql_(std::move(sql)) {}

Statement::~Statement() {
    release();
}

Statement::Statement(Statement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)), sql_(std::move(other.sql_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        release();
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
        sql_ = std::move(other.sql_);
    }
    return *this;
}

void Statement::release() noexcept {
    if (stmt_)
        sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

void Statement::fail(int rc) const {
    throw DbError(engineMessage(db_), rc & 0xff);
}

int Statement::parameterCount() const {
    return stmt_ ? sqlite3_bind_parameter_count(stmt_) : 0;
}

QString Statement::parameterName(int index) const {
    const char* name = stmt_ ? sqlite3_bind_parameter_name(stmt_, index) : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

int Statement::parameterIndex(const QString& name) const {
    return stmt_ ? sqlite3_bind_parameter_index(stmt_, name.toUtf8().constData()) : 0;
}

void Statement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    switch (value.kind()) {
    case Value::Kind::Null:
        rc = sqlite3_bind_null(stmt_, index);
        break;
    case Value::Kind::Integer:
        rc = sqlite3_bind_int64(stmt_, index, value.toInt());
        break;
    case Value::Kind::Float:
        rc = sqlite3_bind_double(stmt_, index, value.toDouble());
        break;
    case Value::Kind::Text: {
        const QByteArray utf8 = value.toText().toUtf8();
        rc = sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    case Value::Kind::DateTime: {
        const QByteArray iso = datetime::toIso(value.toDateTime()).toLatin1();
        rc = sqlite3_bind_text(stmt_, index, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        fail(rc);
}

void Statement::clearBindings() {
    if (stmt_)
        sqlite3_clear_bindings(stmt_);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(rc);
}

void Statement::reset() {
    if (stmt_)
        sqlite3_reset(stmt_);
}

int Statement::columnCount() const {
    return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

QString Statement::columnName(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? QString::fromUtf8(name) : QString();
}

QString Statement::declaredType(int column) const {
    const char* type = sqlite3_column_decltype(stmt_, column);
    return type ? QString::fromUtf8(type) : QString();
}

Value Statement::column(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return Value(qint64(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(stmt_, column));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        const int length = sqlite3_column_bytes(stmt_, column);
        if (ColumnTypes::classify(declaredType(column)) == FieldType::DateTime) {
            if (const auto dt = datetime::fromIso(text, length))
                return Value(*dt);
        }
        return Value(QString::fromUtf8(text, length));
    }
    default:
        return {};
    }
}

std::vector<std::vector<Value>> Statement::fetchAll() {
    const int columns = columnCount();
    std::vector<std::vector<Value>> rows;
    while (step()) {
        std::vector<Value> row;
        row.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c)
            row.push_back(column(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

// ---------------------------------------------------------------- Connection

Connection::Connection(const QString& fileName, Mode mode, int busyTimeoutMs)
    : fileName_(QFileInfo(fileName).absoluteFilePath()), columnTypes_(std::make_unique<ColumnTypes>()) {
    const QString shown = shownPath(fileName_);
    const QFileInfo info(fileName);
    if (mode == Mode::OpenExisting) {
        if (!info.exists())
            throw DbError(QStringLiteral("Файл базы данных не найден: %1").arg(shown), SQLITE_CANTOPEN);
        if (info.isDir())
            throw DbError(QStringLiteral("Вместо файла базы данных найдена папка: %1").arg(shown), SQLITE_CANTOPEN);
        if (!info.isReadable())
            throw DbError(QStringLiteral("Нет доступа к файлу базы данных %1: чтение запрещено").arg(shown),
                          SQLITE_PERM);
        if (!info.isWritable())
            throw DbError(QStringLiteral("Нет доступа к файлу базы данных %1: запись запрещена").arg(shown),
                          SQLITE_READONLY);
        // SQLite would take an empty file for an empty database and start writing into it.
        if (info.size() == 0)
            throw DbError(QStringLiteral("Файл %1 не является базой данных: он пуст").arg(shown), SQLITE_NOTADB);
        openFile(busyTimeoutMs);
    } else {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                throw DbError(QStringLiteral("Файл %1 уже существует: новая база данных не создана").arg(shown),
                              SQLITE_CANTOPEN);
            throw DbError(QStringLiteral("Не удаётся создать файл базы данных %1: %2").arg(shown, file.errorString()),
                          SQLITE_CANTOPEN);
        }
        file.close();
        try {
            openFile(busyTimeoutMs);
        } catch (...) {
            QFile::remove(fileName); // leave nothing half-made behind
            throw;
        }
    }
}

void Connection::openFile(int busyTimeoutMs) {
    // Read-write without CREATE: a file that vanished since the check is not made anew.
    // The program uses a connection from one thread only, so SQLite's own locking is not needed.
    const int rc =
        sqlite3_open_v2(nativePath(fileName_).constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = engineMessage(db_);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        failOpening(QString(), rc, message);
    }
    try {
        sqlite3_busy_timeout(db_, busyTimeoutMs);
        // A double-quoted name that is no column must be an error, never a
        // text literal: a renamed column would otherwise show its own name
        // in every row.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        configure();
    } catch (...) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw;
    }
}

Connection::~Connection() {
    // close_v2 waits for statements still alive instead of failing.
    if (db_)
        sqlite3_close_v2(db_);
}

void Connection::failOpening(const QString& action, int rc, const QString& engineMessage) const {
    const QString shown = shownPath(fileName_);
    const int primary = rc & 0xff;
    QString message;
    switch (primary) {
    case SQLITE_NOTADB:
        message = QStringLiteral("Файл %1 не является базой данных").arg(shown);
        break;
    case SQLITE_CORRUPT:
        message = QStringLiteral("Файл базы данных %1 повреждён").arg(shown);
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        message = QStringLiteral("База данных %1 заблокирована другой программой или пользователем").arg(shown);
        break;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
        message = QStringLiteral("Не удаётся открыть файл базы данных %1").arg(shown);
        break;
    default:
        message = QStringLiteral("Не удаётся открыть базу данных %1").arg(shown);
        break;
    }
    if (!action.isEmpty())
        message += QStringLiteral(" (%1)").arg(action);
    if (!engineMessage.isEmpty())
        message += QStringLiteral(": ") + engineMessage;
    throw DbError(message, primary);
}

// Settings of every connection, then the schema: reading it is what makes
// SQLite look at the file, so a file that is no database fails here.
void Connection::configure() {
    struct Step {
        const char* action;
        const char* sql;
    };
    static const Step steps[] = {
        {"чтение схемы", "SELECT count(*) FROM sqlite_master"},
        {"режим журнала", "PRAGMA journal_mode=DELETE"},
        {"режим записи", "PRAGMA synchronous=FULL"},
        {"внешние ключи", "PRAGMA foreign_keys=OFF"},
    };
    for (const Step& s : steps) {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db_, s.sql, -1, &stmt, nullptr);
        if (rc == SQLITE_OK) {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            }
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        const QString message = rc == SQLITE_OK ? QString() : engineMessage(db_);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_OK)
            failOpening(QString::fromUtf8(s.action), rc, message);
    }
    dialect::install(db_);
    try {
        reloadColumnTypes();
    } catch (const DbError& e) {
        failOpening(QStringLiteral("чтение схемы"), e.sqliteCode(), QString::fromUtf8(e.what()));
    }
}

void Connection::reloadColumnTypes() {
    auto types = std::make_unique<ColumnTypes>();
    QStringList tableNames;
    {
        Statement st = prepareNative(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                    "AND substr(name, 1, 7) <> 'sqlite_' ORDER BY rowid"));
        while (st.step())
            tableNames.append(st.column(0).toText());
    }
    Statement columns = prepareNative(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
    for (const QString& table : tableNames) {
        columns.reset();
        columns.bind(1, Value(table));
        while (columns.step())
            types->add(table, columns.column(0).toText(), columns.column(1).toText());
    }
    columnTypes_ = std::move(types);
}

Statement Connection::prepare(const QString& sql) const {
    return prepareNative(dialect::rewrite(sql, *columnTypes_));
}

Statement Connection::prepareNative(const QString& sql) const {
    const QByteArray utf8 = sql.toUtf8();
    const char* end = utf8.constData() + utf8.size();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = prepareOne(db_, utf8.constData(), int(utf8.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        throw DbError(engineMessage(db_), rc & 0xff);
    Statement statement(db_, stmt, sql);
    if (!stmt)
        throw DbError(QStringLiteral("Текст запроса пуст"));
    // What follows the first statement may only be blanks, comments and semicolons.
    while (tail && tail < end) {
        sqlite3_stmt* extra = nullptr;
        rc = prepareOne(db_, tail, int(end - tail), &extra, &tail);
        const bool another = extra != nullptr;
        sqlite3_finalize(extra);
        if (rc != SQLITE_OK)
            throw DbError(engineMessage(db_), rc & 0xff);
        if (another)
            throw DbError(QStringLiteral("Текст запроса содержит больше одной инструкции SQL"));
    }
    return statement;
}

void Connection::execute(const QString& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : engineMessage(db_);
        sqlite3_free(error);
        throw DbError(message, rc & 0xff);
    }
}

qint64 Connection::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Connection::changes() const {
    return sqlite3_changes(db_);
}

// ---------------------------------------------------------------- Transaction

namespace {

// Runs BEGIN or COMMIT; another connection's write lock outlasting the busy
// timeout is reported as what it is, with the engine's words after it.
void runTransactionStatement(Connection& connection, const QString& sql) {
    try {
        connection.execute(sql);
    } catch (const DbError& e) {
        if (e.sqliteCode() != SQLITE_BUSY && e.sqliteCode() != SQLITE_LOCKED)
            throw;
        throw DbError(QStringLiteral("База данных %1 занята другим пользователем или программой: изменения не "
                                     "записаны (%2)")
                          .arg(QDir::toNativeSeparators(connection.fileName()), QString::fromUtf8(e.what())),
                      e.sqliteCode());
    }
}

} // namespace

Transaction::Transaction(Connection& connection) : connection_(connection) {
    // IMMEDIATE takes the write lock now, so a conflict shows before anything is written.
    runTransactionStatement(connection_, QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction() {
    if (!done_)
        sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    runTransactionStatement(connection_, QStringLiteral("COMMIT"));
    done_ = true;
}

} // namespace kb
