// Opening the database file, statements, bindings and transactions on real files.
#include "Connection.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

using kb::Connection;
using kb::Value;
using kbtest::columns;
using kbtest::fetch;
using kbtest::row;
using kbtest::TempDatabase;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// The rows of a statement, values separated by blanks, rows by '|'.
QString rows(Connection& c, const QString& sql) {
    kb::Statement s = c.prepare(sql);
    QStringList all;
    while (s.step()) {
        QStringList values;
        for (int i = 0; i < s.columnCount(); ++i)
            values << s.column(i).toText();
        all << values.join(QLatin1Char(' '));
    }
    return all.join(QLatin1Char('|'));
}

} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private slots:
    // Each way opening fails: the message (%1 the file's path), and nothing written or created.
    void openFailures_data() {
        columns<QString, QString>("setup", "expected");
        const auto failure = [](const char* setup, const char* message) { row(setup, setup, message); };
        failure("missing", "Файл базы данных не найден: %1");
        failure("folder", "Вместо файла базы данных найдена папка: %1");
        failure("unreadable", "Нет доступа к файлу базы данных %1: чтение запрещено");
        failure("read-only", "Нет доступа к файлу базы данных %1: запись запрещена");
        failure("empty", "Файл %1 не является базой данных: он пуст");
        failure("text", "Файл %1 не является базой данных (чтение схемы): file is not a database");
        failure("damaged", "Файл базы данных %1 повреждён (чтение схемы): database disk image is malformed");
        failure("locked", "База данных %1 заблокирована другой программой или пользователем (чтение схемы): "
                          "database is locked");
        failure("created over a file", "Файл %1 уже существует: новая база данных не создана");
    }
    void openFailures() {
        const auto [setup, expected] = fetch<QString, QString>("setup", "expected");
        TempDatabase db;
        db.addDolznost(QStringLiteral("Бухгалтер"));
        if (setup == QLatin1String("locked"))
            db.connection().execute(QStringLiteral("BEGIN EXCLUSIVE"));
        else
            db.closeConnection();
        QFile file(db.path());
        if (setup == QLatin1String("missing") || setup == QLatin1String("folder"))
            QVERIFY(file.remove());
        if (setup == QLatin1String("folder"))
            QVERIFY(QDir(db.dir()).mkdir(QStringLiteral("BAZA.mdb")));
        if (setup == QLatin1String("unreadable") || setup == QLatin1String("read-only")) {
            const bool reading = setup == QLatin1String("unreadable");
            QVERIFY(file.setPermissions(reading ? QFileDevice::Permissions() : QFileDevice::ReadOwner));
            if (file.open(reading ? QIODevice::ReadOnly : QIODevice::ReadWrite))
                QSKIP("this user (root) reads and writes any file: the permissions cannot be tried");
        }
        if (setup == QLatin1String("empty"))
            write(db.path(), {});
        if (setup == QLatin1String("text"))
            write(db.path(), QStringLiteral("Это не база данных, а просто текст.\n").repeated(40).toUtf8());
        if (setup == QLatin1String("damaged")) // the header of the first page, where the tables are listed
            write(db.path(), contents(db.path()).replace(100, 8, QByteArray(8, '\xff')));
        const QByteArray before = contents(db.path());
        const auto mode =
            setup.startsWith(QLatin1String("created")) ? Connection::Mode::CreateNew : Connection::Mode::OpenExisting;
        QCOMPARE(kbtest::errorMessage([&] { Connection c(db.path(), mode, 100); }), expected.arg(db.path()));
        QCOMPARE(contents(db.path()), before);
        QCOMPARE(QFileInfo::exists(db.path()), setup != QLatin1String("missing"));
    }

    void settings_data() {
        columns<QString, Value>("pragma", "expected");
        row("rollback journal", "journal_mode", Value(QStringLiteral("delete")));
        row("full synchronous commits", "synchronous", Value(2));
        row("no foreign keys", "foreign_keys", Value(0));
        row("busy timeout", "busy_timeout", Value(Connection::kDefaultBusyTimeoutMs));
    }
    void settings() {
        const auto [pragma, expected] = fetch<QString, Value>("pragma", "expected");
        TempDatabase db;
        db.closeConnection();
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA ") + pragma), expected);
    }

    // A relative name is taken from the working directory; other connections share the file.
    void opensRelativeToWorkingDirectory() {
        TempDatabase db;
        db.addDolznost(QStringLiteral("Кассир"));
        kbtest::CurrentDir cd(db.dir());
        Connection c(QStringLiteral("BAZA.mdb"));
        QCOMPARE(c.fileName(), db.path());
        c.execute(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Методист')"));
        QCOMPARE(rows(db.connection(), QStringLiteral("SELECT Nazvanie FROM Dolznost")),
                 QStringLiteral("Кассир|Методист"));
    }

    void readsColumnTypes() {
        TempDatabase db;
        db.closeConnection();
        Connection c(db.path());
        QCOMPARE(c.columnTypes().tables(), QStringList({"Sotr", "Dolznost", "Stavka", "Premia", "OtrChas"}));
        QCOMPARE(c.columnTypes().type(QStringLiteral("Sotr"), QStringLiteral("DataR")), kb::FieldType::DateTime);
        // A table added later shows after reloading.
        c.execute(QStringLiteral("CREATE TABLE Extra (X DATE)"));
        QVERIFY(!c.columnTypes().hasTable(QStringLiteral("Extra")));
        c.reloadColumnTypes();
        QCOMPARE(c.columnTypes().type(QStringLiteral("Extra"), QStringLiteral("X")), kb::FieldType::DateTime);
    }

    void columnValues_data() {
        columns<QString, Value>("sql", "expected");
        row("null", "SELECT NULL", Value());
        row("big integer", "SELECT 9000000000", Value(qint64(9000000000)));
        row("real", "SELECT 1481.4", Value(1481.4));
        row("text", "SELECT 'Иванов'", Value(QStringLiteral("Иванов")));
        row("date-time column", "SELECT Data FROM Premia WHERE Premia = 'iso'",
            Value(kb::datetime::make(2013, 4, 1, 9, 30)));
        row("date-time column, date only", "SELECT Data FROM Premia WHERE Premia = 'date'",
            Value(kb::datetime::make(2013, 4, 30)));
        row("date-time column, other text stays text", "SELECT Data FROM Premia WHERE Premia = 'word'",
            Value(QStringLiteral("апрель")));
        row("ISO text in a text column stays text", "SELECT Premia FROM Premia WHERE Premia = '2013-04-01'",
            Value(QStringLiteral("2013-04-01")));
        row("expression over a date-time column is no column", "SELECT Data || '' FROM Premia WHERE Premia = 'iso'",
            Value(QStringLiteral("2013-04-01 09:30:00")));
    }
    void columnValues() {
        const auto [sql, expected] = fetch<QString, Value>("sql", "expected");
        TempDatabase db;
        db.exec(QStringLiteral("INSERT INTO Premia (IDSotr, Data, Premia) VALUES (1, '2013-04-01 09:30:00', 'iso'), "
                               "(1, '2013-04-30', 'date'), (1, 'апрель', 'word'), (1, NULL, '2013-04-01')"));
        kb::Statement st = db.connection().prepare(sql);
        QVERIFY(st.step());
        QCOMPARE(st.column(0), expected);
        QVERIFY(!st.step());
    }

    void bindings_data() {
        // stored: type and text as the file holds them
        columns<Value, QString>("value", "stored");
        row("null", Value(), "null ");
        row("integer", Value(7), "integer 7");
        row("real", Value(0.1), "real 0.1");
        row("text", Value(QStringLiteral("Ёлкин")), "text Ёлкин");
        row("date-time as ISO text", Value(kb::datetime::make(2013, 4, 1, 18, 5, 9)), "text 2013-04-01 18:05:09");
    }
    void bindings() {
        const auto [value, stored] = fetch<Value, QString>("value", "stored");
        TempDatabase db;
        db.exec(QStringLiteral("CREATE TABLE Plain (X)"));
        kb::Statement insert = db.connection().prepareNative(QStringLiteral("INSERT INTO Plain VALUES (:X)"));
        QCOMPARE(insert.parameterCount(), 1);
        QCOMPARE(insert.parameterName(1), QStringLiteral(":X"));
        QCOMPARE(insert.parameterIndex(QStringLiteral(":X")), 1);
        insert.bind(1, value);
        QVERIFY(!insert.step());
        QCOMPARE(db.scalar(QStringLiteral("SELECT typeof(X) || ' ' || coalesce(X, '') FROM Plain")), Value(stored));
    }

    // A statement that fails fails with the engine's message (or ours) and changes nothing.
    void statementErrors_data() {
        columns<QString, QString>("sql", "message");
        row("unknown table at prepare", "SELECT * FROM Nowhere", "no such table: Nowhere");
        row("syntax", "SELEKT 1", "near \"SELEKT\": syntax error");
        row("run-time error", "SELECT abs(-9223372036854775807 - 1)", "integer overflow");
        row("message of the database passes unchanged", "INSERT INTO Dolznost (Nazvanie) VALUES ('запрещено')",
            "Должность запрещена");
        row("empty text", "  -- nothing\n", "Текст запроса пуст");
        row("two statements", "SELECT 1; DELETE FROM Dolznost", "Текст запроса содержит больше одной инструкции SQL");
        row("trailing semicolon and comment", "DELETE FROM Dolznost WHERE ID = 0; -- none", "");
    }
    void statementErrors() {
        const auto [sql, message] = fetch<QString, QString>("sql", "message");
        TempDatabase db;
        db.addDolznost(QStringLiteral("Кассир"));
        db.exec(QStringLiteral("CREATE TRIGGER NoForbidden BEFORE INSERT ON Dolznost WHEN NEW.Nazvanie = 'запрещено' "
                               "BEGIN SELECT RAISE(ABORT, 'Должность запрещена'); END"));
        QCOMPARE(kbtest::errorMessage([&] {
                     kb::Statement st = db.connection().prepare(sql);
                     while (st.step()) {
                     }
                 }),
                 message);
        QCOMPARE(db.count(QStringLiteral("Dolznost")), 1);
    }

    void transactionRollsBackUnlessCommitted() {
        TempDatabase db;
        Connection& c = db.connection();
        for (const bool commit : {false, true}) {
            kb::Transaction t(c);
            c.execute(commit ? QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Сохранено')")
                             : QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Отброшено')"));
            if (commit)
                t.commit();
        }
        Connection other(db.path());
        QCOMPARE(rows(other, QStringLiteral("SELECT Nazvanie FROM Dolznost")), QStringLiteral("Сохранено"));
    }

    void transactionConflictFails() {
        TempDatabase db;
        Connection other(db.path(), Connection::Mode::OpenExisting, 50);
        kb::Transaction holder(db.connection());
        int code = 0;
        try {
            kb::Transaction t(other);
        } catch (const kb::DbError& e) {
            code = e.sqliteCode();
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("База данных %1 занята другим пользователем или программой: изменения не записаны "
                                    "(database is locked)")
                         .arg(db.path()));
        }
        QCOMPARE(code, 5); // SQLITE_BUSY
    }

    void movedStatementStillWorks() {
        TempDatabase db;
        kb::Statement a = db.connection().prepareNative(QStringLiteral("SELECT 5"));
        kb::Statement b = std::move(a);
        QVERIFY(a.handle() == nullptr);
        kb::Statement c;
        c = std::move(b);
        QVERIFY(c.step());
        QCOMPARE(c.column(0), Value(5));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
