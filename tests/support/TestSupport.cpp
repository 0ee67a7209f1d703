#include "TestSupport.h"

#include "DateTimeText.h"
#include "Dialect.h"
#include "Schema.h"

#include <QDateTime>
#include <QDir>
#include <QStringList>
#include <QTest>
#include <exception>
#include <stdexcept>

namespace kb {

char* toString(const sql::Value& value) {
    return QTest::toString(kbtest::describe(value));
}

} // namespace kb

namespace kbtest {

TempDatabase::TempDatabase(Content content, const QString& fileName) {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    path_ = dir_.filePath(fileName);
    connection_ = std::make_unique<kb::sql::Connection>(path_, kb::sql::Connection::Mode::CreateNew);
    kb::dialect::install(*connection_);
    if (content == Content::Schema) {
        // One transaction: one synchronous commit instead of one per table.
        connection_->execute(QStringLiteral("BEGIN;\n%1\nCOMMIT;").arg(kb::dataset::schema::createStatements()));
        connection_->reloadColumnTypes();
    } else {
        // SQLite writes nothing into a file without tables; make it a real database.
        connection_->execute(QStringLiteral("PRAGMA user_version = 1"));
    }
}

TempDatabase::~TempDatabase() = default;

kb::sql::Connection& TempDatabase::connection() {
    if (!connection_) {
        connection_ = std::make_unique<kb::sql::Connection>(path_);
        kb::dialect::install(*connection_);
    }
    return *connection_;
}

void TempDatabase::closeConnection() {
    connection_.reset();
}

void TempDatabase::exec(const QString& sql, std::initializer_list<kb::sql::Value> values) {
    kb::sql::Statement statement = connection().prepareNative(sql);
    int index = 1;
    for (const kb::sql::Value& v : values)
        statement.bind(index++, v);
    while (statement.step()) {
    }
}

kb::sql::Value TempDatabase::scalar(const QString& sql, std::initializer_list<kb::sql::Value> values) {
    kb::sql::Statement statement = connection().prepareNative(sql);
    int index = 1;
    for (const kb::sql::Value& v : values)
        statement.bind(index++, v);
    return statement.step() ? statement.column(0) : kb::sql::Value();
}

qint64 TempDatabase::count(const QString& table) {
    return scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt();
}

qint64 TempDatabase::insert(const QString& table, std::initializer_list<std::pair<QString, kb::sql::Value>> values) {
    QStringList names;
    QStringList marks;
    for (const auto& [name, value] : values) {
        names.append(QLatin1Char('"') + name + QLatin1Char('"'));
        marks.append(QStringLiteral("?"));
    }
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(table)
                            : QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                  .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    kb::sql::Statement statement = connection().prepareNative(sql);
    int index = 1;
    for (const auto& [name, value] : values)
        statement.bind(index++, value);
    statement.step();
    return connection().lastInsertRowId();
}

qint64 TempDatabase::addDolznost(const QString& nazvanie) {
    return insert(QStringLiteral("Dolznost"), {{QStringLiteral("Nazvanie"), kb::sql::Value(nazvanie)}});
}

qint64 TempDatabase::addSotr(const QString& fio, const kb::sql::Value& idDolznost, const kb::sql::Value& dataR) {
    return insert(QStringLiteral("Sotr"), {{QStringLiteral("FIO"), kb::sql::Value(fio)},
                                           {QStringLiteral("IDDolznost"), idDolznost},
                                           {QStringLiteral("DataR"), dataR}});
}

qint64 TempDatabase::addStavka(qint64 idSotr, double sum) {
    return insert(QStringLiteral("Stavka"),
                  {{QStringLiteral("IDSotr"), kb::sql::Value(idSotr)}, {QStringLiteral("Sum"), kb::sql::Value(sum)}});
}

qint64 TempDatabase::addPremia(qint64 idSotr, const QDateTime& data, const QString& premia) {
    return insert(QStringLiteral("Premia"), {{QStringLiteral("IDSotr"), kb::sql::Value(idSotr)},
                                             {QStringLiteral("Data"), kb::sql::Value(data)},
                                             {QStringLiteral("Premia"), kb::sql::Value(premia)}});
}

qint64 TempDatabase::addOtrChas(qint64 idSotr, int count, const QDateTime& data) {
    return insert(QStringLiteral("OtrChas"), {{QStringLiteral("IDSotr"), kb::sql::Value(idSotr)},
                                              {QStringLiteral("Count"), kb::sql::Value(count)},
                                              {QStringLiteral("Data"), kb::sql::Value(data)}});
}

CurrentDir::CurrentDir(const QString& path) : previous_(QDir::currentPath()) {
    if (!QDir::setCurrent(path))
        throw std::runtime_error("cannot change the working directory");
}

CurrentDir::~CurrentDir() {
    QDir::setCurrent(previous_);
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

LockHolder::LockHolder(const QString& path) : process_(std::make_unique<QProcess>()) {
    process_->start(QStringLiteral(KB_TEST_WRITER_PATH), {QStringLiteral("hold"), path});
    held_ = process_->waitForReadyRead(30000) && process_->readLine() == "held\n";
}

LockHolder::~LockHolder() {
    process_->closeWriteChannel(); // the holder ends with its standard input
    process_->waitForFinished(30000);
}

QString errorMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

QString describe(const kb::sql::Value& value) {
    switch (value.kind()) {
    case kb::sql::Value::Kind::Null:
        return QStringLiteral("NULL");
    case kb::sql::Value::Kind::Integer:
        return QStringLiteral("Integer %1").arg(value.toInt());
    case kb::sql::Value::Kind::Float:
        return QStringLiteral("Float %1").arg(value.toDouble(), 0, 'g', 17);
    case kb::sql::Value::Kind::Text:
        return QStringLiteral("Text '%1'").arg(value.text());
    case kb::sql::Value::Kind::DateTime:
        return QStringLiteral("DateTime %1").arg(kb::sql::datetime::toIso(value.toDateTime()));
    }
    return {};
}

QDateTime at(int year, int month, int day, int hour, int minute, int second) {
    return kb::sql::datetime::make(year, month, day, hour, minute, second);
}

} // namespace kbtest
