#pragma once

#include "Connection.h"
#include "Value.h"

#include <QDateTime>
#include <QDir>
#include <QMetaType>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <utility>

namespace kb {
char* toString(const sql::Value& value); // lets QCOMPARE print database values
} // namespace kb

Q_DECLARE_METATYPE(kb::sql::Value)
Q_DECLARE_METATYPE(kb::sql::FieldType)

class QTestData;

namespace kbtest {

// The two engines of the database layer: a file, a database on the test server (the pg_server fixture).
enum class Engine { File, Server };
inline const Engine kEngines[] = {Engine::File, Engine::Server};
// A row of a data-driven test on an engine, named "file: tag" or "server: tag"; the engine is its first column
// (QTest::addColumn<kbtest::Engine>("engine")).
QTestData& newEngineRow(Engine engine, const char* tag);
// A row of a data-driven test on both engines, or on a file only (what a server's typed columns cannot even hold).
template <typename... Values> void bothRow(const char* name, const Values&... values) {
    for (Engine e : kEngines)
        (newEngineRow(e, name) << ... << values);
}
template <typename... Values> void fileRow(const char* name, const Values&... values) {
    (newEngineRow(Engine::File, name) << ... << values);
}
// The test server's connection string for a database (its Unix socket, user postgres).
QString serverName(const QString& database);

// A database of its own, made through the program's own layer, with an open connection (the dialect installed,
// reopened after closeConnection()) and helpers that add rows: a file in a fresh temporary folder (removed with the
// object), or a fresh database on the test server (dropped with the object; path() is its connection string).
class TempDatabase {
public:
    enum class Content { Schema, Empty }; // the program's five tables, or a valid database without tables

    explicit TempDatabase(Content content = Content::Schema, const QString& fileName = QStringLiteral("BAZA.mdb"),
                          Engine engine = Engine::File);
    explicit TempDatabase(Engine engine) : TempDatabase(Content::Schema, QStringLiteral("BAZA.mdb"), engine) {}
    ~TempDatabase();
    Q_DISABLE_COPY(TempDatabase)

    QString dir() const { return dir_.path(); }
    const QString& path() const { return path_; }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    kb::sql::Connection& connection();
    void closeConnection() { connection_.reset(); }

    // One statement with ?1, ?2, ... bound to values; scalar gives the first column of the first row, or null.
    void exec(const QString& sql, std::initializer_list<kb::sql::Value> values = {});
    kb::sql::Value scalar(const QString& sql, std::initializer_list<kb::sql::Value> values = {});
    qint64 count(const QString& table);

    // INSERT of the named columns; each returns the new row's ID.
    qint64 insert(const QString& table, std::initializer_list<std::pair<QString, kb::sql::Value>> values);
    qint64 addDolznost(const QString& nazvanie) {
        return insert(QStringLiteral("Dolznost"), {{QStringLiteral("Nazvanie"), nazvanie}});
    }
    qint64 addSotr(const QString& fio, const kb::sql::Value& idDolznost = {}, const kb::sql::Value& dataR = {}) {
        return insert(QStringLiteral("Sotr"), {{QStringLiteral("FIO"), fio},
                                               {QStringLiteral("IDDolznost"), idDolznost},
                                               {QStringLiteral("DataR"), dataR}});
    }
    qint64 addStavka(qint64 idSotr, double sum) {
        return insert(QStringLiteral("Stavka"), {{QStringLiteral("IDSotr"), idSotr}, {QStringLiteral("Sum"), sum}});
    }
    qint64 addPremia(qint64 idSotr, const QDateTime& data, const QString& premia) {
        return insert(
            QStringLiteral("Premia"),
            {{QStringLiteral("IDSotr"), idSotr}, {QStringLiteral("Data"), data}, {QStringLiteral("Premia"), premia}});
    }
    qint64 addOtrChas(qint64 idSotr, int count, const QDateTime& data) {
        return insert(
            QStringLiteral("OtrChas"),
            {{QStringLiteral("IDSotr"), idSotr}, {QStringLiteral("Count"), count}, {QStringLiteral("Data"), data}});
    }

private:
    QTemporaryDir dir_;
    QString path_;
    QString serverDatabase_; // the database's name on the server; empty for a file
    std::unique_ptr<kb::sql::Connection> connection_;
};

} // namespace kbtest

Q_DECLARE_METATYPE(kbtest::Engine)

namespace kbtest {

// Makes a folder the working directory for the object's lifetime (the program opens its database file relative to it).
class CurrentDir {
public:
    explicit CurrentDir(const QString& path) : previous_(QDir::currentPath()) {
        if (!QDir::setCurrent(path))
            throw std::runtime_error("cannot change the working directory");
    }
    ~CurrentDir() { QDir::setCurrent(previous_); }
    Q_DISABLE_COPY(CurrentDir)

private:
    QString previous_;
};

// A file's bytes (none when unreadable); writing them, false when that fails.
QByteArray fileBytes(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
// The names in a file's folder, the file's modification time and bytes: what a failed opening leaves as it was.
QString folderState(const QString& path);

// Another process (the test writer) holding the exclusive lock of a database file for the object's lifetime.
class LockHolder {
public:
    explicit LockHolder(const QString& path) {
        process_->start(QStringLiteral(KB_TEST_WRITER_PATH), {QStringLiteral("hold"), path});
        held_ = process_->waitForReadyRead(30000) && process_->readLine() == "held\n";
    }
    ~LockHolder() {
        process_->closeWriteChannel(); // the holder ends with its standard input
        process_->waitForFinished(30000);
    }
    Q_DISABLE_COPY(LockHolder)
    bool held() const { return held_; }

private:
    std::unique_ptr<QProcess> process_ = std::make_unique<QProcess>();
    bool held_ = false;
};

// The message of the exception that action throws; a null string when it throws nothing.
QString errorMessage(const std::function<void()>& action);
// A value's kind and value, for failure messages.
QString describe(const kb::sql::Value& value);
// A wall-clock date-time as the database layer carries it.
QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

} // namespace kbtest
