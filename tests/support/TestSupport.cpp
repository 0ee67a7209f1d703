#include "TestSupport.h"

#include "DateTimeText.h"
#include "Dialect.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QTest>

using kb::sql::Value;
using namespace Qt::StringLiterals;

char* kb::toString(const sql::Value& value) {
    return QTest::toString(kbtest::describe(value));
}

namespace kbtest {

namespace {

kb::sql::Statement bound(kb::sql::Connection& connection, const QString& sql, const QList<Value>& values) {
    kb::sql::Statement statement = connection.prepareNative(sql);
    for (int i = 0; i < values.size(); ++i)
        statement.bind(i + 1, values[i]);
    return statement;
}

} // namespace

QTestData& newEngineRow(Engine engine, const char* tag) {
    return QTest::addRow("%s: %s", engine == Engine::File ? "file" : "server", tag) << engine;
}

QString serverName(const QString& database) {
    QFile file(QStringLiteral(KB_PG_SERVER_FILE));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the test server is not running (the pg_server fixture starts it)");
    return u"host=%1 dbname=%2 user=postgres"_s.arg(QString::fromLocal8Bit(file.readAll().trimmed()), database);
}

namespace {

// Statements on the server's own database, where databases are made and dropped.
void onServer(const QString& sql) {
    kb::sql::Connection admin(serverName(u"postgres"_s), kb::sql::Connection::Mode::CreateNew);
    admin.execute(sql);
}

} // namespace

TempDatabase::TempDatabase(Content content, const QString& fileName, Engine engine) {
    if (engine == Engine::Server) {
        static int made = 0;
        serverDatabase_ = u"kbt_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(++made);
        onServer(u"CREATE DATABASE %1"_s.arg(serverDatabase_));
        path_ = serverName(serverDatabase_);
        connection_ = std::make_unique<kb::sql::Connection>(path_, kb::sql::Connection::Mode::CreateNew);
        if (content == Content::Schema)
            kb::dataset::schema::createSchema(*connection_);
        return;
    }
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    path_ = dir_.filePath(fileName);
    connection_ = std::make_unique<kb::sql::Connection>(path_, kb::sql::Connection::Mode::CreateNew);
    kb::dialect::install(*connection_);
    // One transaction, one synchronous commit; without tables SQLite would write nothing into the file.
    connection_->execute(content == Content::Schema
                             ? u"BEGIN;\n%1\nCOMMIT;"_s.arg(kb::dataset::schema::createStatements())
                             : u"PRAGMA user_version = 1"_s);
    connection_->reloadColumnTypes();
}

TempDatabase::~TempDatabase() {
    connection_.reset();
    if (!serverDatabase_.isEmpty()) {
        try {
            onServer(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(serverDatabase_));
        } catch (const std::exception& e) {
            qWarning("%s", e.what());
        }
    }
}

kb::sql::Connection& TempDatabase::connection() {
    if (!connection_) {
        connection_ = std::make_unique<kb::sql::Connection>(path_);
        kb::dialect::install(*connection_);
    }
    return *connection_;
}

void TempDatabase::exec(const QString& sql, std::initializer_list<Value> values) {
    for (auto statement = bound(connection(), sql, values); statement.step();) {
    }
}

Value TempDatabase::scalar(const QString& sql, std::initializer_list<Value> values) {
    auto statement = bound(connection(), sql, values);
    return statement.step() ? statement.column(0) : Value();
}

qint64 TempDatabase::count(const QString& table) {
    return scalar(u"SELECT count(*) FROM \"%1\""_s.arg(table)).toInt();
}

qint64 TempDatabase::insert(const QString& table, std::initializer_list<std::pair<QString, Value>> values) {
    QStringList names, marks;
    QList<Value> bindings;
    for (const auto& [name, value] : values) {
        names << u'"' + name + u'"';
        marks << u"?"_s;
        bindings << value;
    }
    auto statement =
        bound(connection(),
              u"INSERT INTO \"%1\" (%2) VALUES (%3) RETURNING \"ID\""_s.arg(table, names.join(u','), marks.join(u',')),
              bindings);
    return statement.step() ? statement.column(0).toInt() : 0;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString folderState(const QString& path) {
    const QFileInfo info(path);
    return info.dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(u' ') + u' ' +
           info.lastModified().toString(Qt::ISODateWithMs) + u' ' + QString::fromLatin1(fileBytes(path).toBase64());
}

QString errorMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

QString describe(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Null:
        return u"NULL"_s;
    case Value::Kind::Integer:
        return u"Integer %1"_s.arg(value.toInt());
    case Value::Kind::Float:
        return u"Float %1"_s.arg(value.toDouble(), 0, 'g', 17);
    case Value::Kind::Text:
        return u"Text '%1'"_s.arg(value.text());
    case Value::Kind::DateTime:
        return u"DateTime "_s + kb::sql::datetime::toIso(value.toDateTime());
    }
    return {};
}

QDateTime at(int year, int month, int day, int hour, int minute, int second) {
    return kb::sql::datetime::make(year, month, day, hour, minute, second);
}

} // namespace kbtest
