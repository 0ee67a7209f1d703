// Opening the database file, statements, bindings and transactions on real files.
#include "Connection.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "TestSupport.h"
#include "Transaction.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <memory>

using kb::Connection;
using kb::DbError;
using kb::Value;
using kbtest::TempDatabase;

namespace {

constexpr int kSqliteBusy = 5; // SQLite's SQLITE_BUSY

// The message of a failed open, or a null string when the file opened.
QString openError(const QString& path, Connection::Mode mode = Connection::Mode::OpenExisting, int timeoutMs = 100) {
    return kbtest::errorMessage([&] { Connection c(path, mode, timeoutMs); });
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private slots:
    void missingFileIsNotCreated();
    void unusableFile_data();
    void unusableFile();
    void unreadableFile();
    void lockedFile();
    void createNewRefusesExistingFile();
    void settings_data();
    void settings();
    void opensRelativeToWorkingDirectory();
    void sharedWithAnotherConnection();
    void readsColumnTypes();
    void columnValues_data();
    void columnValues();
    void bindingsAreStoredAsWritten_data();
    void bindingsAreStoredAsWritten();
    void engineErrors_data();
    void engineErrors();
    void onlyOneStatementIsPrepared();
    void transactionRollsBackUnlessCommitted();
    void transactionConflictFails();
    void movedStatementStillWorks();
};

void TestConnection::missingFileIsNotCreated() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BAZA.mdb"));
    const QString message = openError(path);
    QVERIFY2(message.contains(QStringLiteral("не найден")), qPrintable(message));
    QVERIFY2(message.contains(path), qPrintable(message));
    QVERIFY(!QFile::exists(path));
}

void TestConnection::unusableFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("directory");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text file") << QByteArray("Это не база данных, а просто текст.\n").repeated(40) << false
                               << QStringLiteral("не является базой данных");
    QTest::newRow("short garbage") << QByteArray("abc") << false << QStringLiteral("не является базой данных");
    QTest::newRow("empty file") << QByteArray() << false << QStringLiteral("не является базой данных");
    QTest::newRow("damaged header") << QByteArray("SQLite format 3").append('\0').append(QByteArray(4080, '\x7f'))
                                    << false << QStringLiteral("не является базой данных|повреждён");
    QTest::newRow("directory") << QByteArray() << true << QStringLiteral("папка");
}

void TestConnection::unusableFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, directory);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BAZA.mdb"));
    if (directory)
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("BAZA.mdb")));
    else
        writeFile(path, content);
    const QString message = openError(path);
    QVERIFY2(message.contains(QRegularExpression(expected)), qPrintable(message));
    QVERIFY2(message.contains(path), qPrintable(message));
    if (!directory) { // nothing was written into the file
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }
}

void TestConnection::unreadableFile() {
    TempDatabase db;
    db.closeConnection();
    QVERIFY(QFile::setPermissions(db.path(), QFileDevice::Permissions()));
    QFile probe(db.path());
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("this user reads files whatever their permissions (root): an unreadable file cannot be made");
    const QString message = openError(db.path());
    QVERIFY2(message.contains(QStringLiteral("Нет доступа")), qPrintable(message));
    QVERIFY2(message.contains(db.path()), qPrintable(message));
}

void TestConnection::lockedFile() {
    TempDatabase db;
    db.addDolznost(QStringLiteral("Бухгалтер"));
    db.connection().execute(QStringLiteral("BEGIN EXCLUSIVE"));
    const QString message = openError(db.path());
    QVERIFY2(message.contains(QStringLiteral("заблокирована")), qPrintable(message));
    QVERIFY2(message.contains(db.path()), qPrintable(message));

    db.connection().execute(QStringLiteral("COMMIT"));
    QCOMPARE(openError(db.path()), QString());
}

void TestConnection::createNewRefusesExistingFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BAZA.mdb"));
    writeFile(path, "keep me");
    const QString message = openError(path, Connection::Mode::CreateNew);
    QVERIFY2(message.contains(QStringLiteral("уже существует")), qPrintable(message));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("keep me"));
}

void TestConnection::settings_data() {
    QTest::addColumn<QString>("pragma");
    QTest::addColumn<Value>("expected");
    QTest::newRow("rollback journal") << "journal_mode" << Value(QStringLiteral("delete"));
    QTest::newRow("full synchronous commits") << "synchronous" << Value(2);
    QTest::newRow("no foreign keys") << "foreign_keys" << Value(0);
    QTest::newRow("busy timeout") << "busy_timeout" << Value(Connection::kDefaultBusyTimeoutMs);
}

void TestConnection::settings() {
    QFETCH(QString, pragma);
    QFETCH(Value, expected);
    TempDatabase db;
    db.closeConnection();
    Connection c(db.path());
    kb::Statement st = c.prepareNative(QStringLiteral("PRAGMA ") + pragma);
    QVERIFY(st.step());
    QCOMPARE(st.column(0), expected);
}

void TestConnection::opensRelativeToWorkingDirectory() {
    TempDatabase db;
    db.addDolznost(QStringLiteral("Кассир"));
    kbtest::CurrentDir cd(db.dir());
    Connection c(QStringLiteral("BAZA.mdb"));
    QCOMPARE(c.fileName(), db.path());
    kb::Statement st = c.prepareNative(QStringLiteral("SELECT Nazvanie FROM Dolznost"));
    QVERIFY(st.step());
    QCOMPARE(st.column(0), Value(QStringLiteral("Кассир")));
}

void TestConnection::sharedWithAnotherConnection() {
    TempDatabase db;
    Connection other(db.path());
    db.addDolznost(QStringLiteral("Директор"));
    kb::Statement st = other.prepareNative(QStringLiteral("SELECT count(*) FROM Dolznost"));
    QVERIFY(st.step());
    QCOMPARE(st.column(0), Value(1));
    other.execute(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Методист')"));
    QCOMPARE(db.count(QStringLiteral("Dolznost")), 2);
}

void TestConnection::readsColumnTypes() {
    TempDatabase db;
    db.closeConnection();
    Connection c(db.path());
    const kb::ColumnTypes& types = c.columnTypes();
    QCOMPARE(types.tables().size(), 5);
    QCOMPARE(types.type(QStringLiteral("Sotr"), QStringLiteral("DataR")), kb::FieldType::DateTime);
    QCOMPARE(types.type(QStringLiteral("Stavka"), QStringLiteral("Sum")), kb::FieldType::Float);
    QCOMPARE(types.type(QStringLiteral("Premia"), QStringLiteral("Premia")), kb::FieldType::Text);
    QCOMPARE(types.type(QStringLiteral("OtrChas"), QStringLiteral("Count")), kb::FieldType::Integer);

    // A table added later shows after reloading.
    c.execute(QStringLiteral("CREATE TABLE Extra (X DATE)"));
    QVERIFY(!c.columnTypes().hasTable(QStringLiteral("Extra")));
    c.reloadColumnTypes();
    QCOMPARE(c.columnTypes().type(QStringLiteral("Extra"), QStringLiteral("X")), kb::FieldType::DateTime);
}

void TestConnection::columnValues_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<Value>("expected");
    QTest::newRow("null") << "SELECT NULL" << Value();
    QTest::newRow("integer") << "SELECT 42" << Value(42);
    QTest::newRow("big integer") << "SELECT 9000000000" << Value(qint64(9000000000));
    QTest::newRow("real") << "SELECT 1481.4" << Value(1481.4);
    QTest::newRow("text") << "SELECT 'Иванов'" << Value(QStringLiteral("Иванов"));
    QTest::newRow("date-time column") << "SELECT Data FROM Premia WHERE Premia = 'iso'"
                                      << Value(kb::datetime::make(2013, 4, 1, 9, 30));
    QTest::newRow("date-time column, date only")
        << "SELECT Data FROM Premia WHERE Premia = 'date'" << Value(kb::datetime::make(2013, 4, 30));
    QTest::newRow("date-time column, other text stays text")
        << "SELECT Data FROM Premia WHERE Premia = 'word'" << Value(QStringLiteral("апрель"));
    QTest::newRow("ISO text in a text column stays text")
        << "SELECT Premia FROM Premia WHERE Premia = '2013-04-01'" << Value(QStringLiteral("2013-04-01"));
    QTest::newRow("expression over a date-time column is no column")
        << "SELECT Data || '' FROM Premia WHERE Premia = 'iso'" << Value(QStringLiteral("2013-04-01 09:30:00"));
}

void TestConnection::columnValues() {
    QFETCH(QString, sql);
    QFETCH(Value, expected);
    TempDatabase db;
    db.exec(QStringLiteral("INSERT INTO Premia (IDSotr, Data, Premia) VALUES (1, '2013-04-01 09:30:00', 'iso'), "
                           "(1, '2013-04-30', 'date'), (1, 'апрель', 'word'), (1, NULL, '2013-04-01')"));
    kb::Statement st = db.connection().prepareNative(sql);
    QVERIFY(st.step());
    QCOMPARE(st.column(0), expected);
    QVERIFY(!st.step());
}

void TestConnection::bindingsAreStoredAsWritten_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("storedType");
    QTest::addColumn<QString>("storedText");
    QTest::newRow("null") << Value() << "null"
                          << "";
    QTest::newRow("integer") << Value(7) << "integer"
                             << "7";
    QTest::newRow("real") << Value(0.1) << "real"
                          << "0.1";
    QTest::newRow("text") << Value(QStringLiteral("Ёлкин")) << "text"
                          << "Ёлкин";
    QTest::newRow("date-time as ISO text") << Value(kb::datetime::make(2013, 4, 1, 18, 5, 9)) << "text"
                                           << "2013-04-01 18:05:09";
}

void TestConnection::bindingsAreStoredAsWritten() {
    QFETCH(Value, value);
    QFETCH(QString, storedType);
    QFETCH(QString, storedText);
    TempDatabase db;
    db.exec(QStringLiteral("CREATE TABLE Plain (X)"));
    kb::Statement insert = db.connection().prepareNative(QStringLiteral("INSERT INTO Plain VALUES (:X)"));
    QCOMPARE(insert.parameterCount(), 1);
    QCOMPARE(insert.parameterName(1), QStringLiteral(":X"));
    QCOMPARE(insert.parameterIndex(QStringLiteral(":X")), 1);
    insert.bind(1, value);
    QVERIFY(!insert.step());
    QCOMPARE(db.scalar(QStringLiteral("SELECT typeof(X) FROM Plain")), Value(storedType));
    QCOMPARE(db.scalar(QStringLiteral("SELECT coalesce(X, '') || '' FROM Plain")), Value(storedText));
}

void TestConnection::engineErrors_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown table at prepare") << "SELECT * FROM Nowhere"
                                              << "no such table: Nowhere";
    QTest::newRow("syntax") << "SELEKT 1"
                            << "near \"SELEKT\": syntax error";
    QTest::newRow("run-time error") << "SELECT abs(-9223372036854775807 - 1)"
                                    << "integer overflow";
    QTest::newRow("Russian message of the database passes unchanged")
        << "INSERT INTO Dolznost (Nazvanie) VALUES ('запрещено')"
        << "Должность запрещена";
    QTest::newRow("empty text") << "  -- nothing\n"
                                << "Текст запроса пуст";
}

void TestConnection::engineErrors() {
    QFETCH(QString, sql);
    QFETCH(QString, message);
    TempDatabase db;
    db.exec(QStringLiteral("CREATE TRIGGER NoForbidden BEFORE INSERT ON Dolznost WHEN NEW.Nazvanie = 'запрещено' "
                           "BEGIN SELECT RAISE(ABORT, 'Должность запрещена'); END"));
    const QString error = kbtest::errorMessage([&] {
        kb::Statement st = db.connection().prepareNative(sql);
        while (st.step()) {
        }
    });
    QCOMPARE(error, message);
}

void TestConnection::onlyOneStatementIsPrepared() {
    TempDatabase db;
    db.addDolznost(QStringLiteral("Кассир"));
    const QString message = kbtest::errorMessage([&] {
        kb::Statement st = db.connection().prepareNative(QStringLiteral("SELECT 1; DELETE FROM Dolznost"));
        while (st.step()) {
        }
    });
    QVERIFY2(message.contains(QStringLiteral("больше одной инструкции")), qPrintable(message));
    QCOMPARE(db.count(QStringLiteral("Dolznost")), 1);

    // A trailing semicolon and comment are fine.
    kb::Statement st = db.connection().prepareNative(QStringLiteral("SELECT 1; -- done"));
    QVERIFY(st.step());
}

void TestConnection::transactionRollsBackUnlessCommitted() {
    TempDatabase db;
    Connection& c = db.connection();
    {
        kb::Transaction t(c);
        c.execute(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Отброшено')"));
    }
    QCOMPARE(db.count(QStringLiteral("Dolznost")), 0);
    {
        kb::Transaction t(c);
        c.execute(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Сохранено')"));
        t.commit();
    }
    Connection other(db.path());
    kb::Statement st = other.prepareNative(QStringLiteral("SELECT Nazvanie FROM Dolznost"));
    QVERIFY(st.step());
    QCOMPARE(st.column(0), Value(QStringLiteral("Сохранено")));
    QVERIFY(!st.step());
}

void TestConnection::transactionConflictFails() {
    TempDatabase db;
    Connection other(db.path(), Connection::Mode::OpenExisting, 50);
    kb::Transaction holder(db.connection());
    int code = 0;
    try {
        kb::Transaction t(other);
    } catch (const DbError& e) {
        code = e.sqliteCode();
        const QString message = QString::fromUtf8(e.what());
        QVERIFY2(message.contains(QStringLiteral("занята другим пользователем")) && message.contains(db.path()),
                 qPrintable(message));
    }
    QCOMPARE(code, kSqliteBusy);
}

void TestConnection::movedStatementStillWorks() {
    TempDatabase db;
    kb::Statement a = db.connection().prepareNative(QStringLiteral("SELECT 5"));
    kb::Statement b = std::move(a);
    QCOMPARE(a.columnCount(), 0);
    kb::Statement c;
    c = std::move(b);
    QVERIFY(c.step());
    QCOMPARE(c.column(0), Value(5));
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
