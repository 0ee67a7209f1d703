// Opening the database file, statements and transactions on real files.
#include "Connection.h"
#include "DbError.h"
#include "TestRows.h"
#include "TestSupport.h"
#include "Transaction.h"
#include "ValueText.h"

#include <QDir>
#include <QFile>

using kb::Connection;
using kb::Value;
using namespace kbtest;

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

const QString kNames = QStringLiteral("SELECT group_concat(Nazvanie, ' ') FROM Dolznost");

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
        failure("old program's file", "Файл %1 - база данных старой программы (Microsoft Jet, Access). Программа не "
                                      "открывает такой файл и не изменяет его; перенесите данные в новый файл "
                                      "командой:\nkultbuh-db import \"%1\" НОВЫЙ_ФАЙЛ");
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
        if (setup == QLatin1String("old program's file")) // the signature of a Jet 4.0 file's first page
            write(db.path(), QByteArray("\0\1\0\0Standard Jet DB\0\1", 21) + QByteArray(4075, '\0'));
        if (setup == QLatin1String("damaged")) // the header of the first page, where the tables are listed
            write(db.path(), contents(db.path()).replace(100, 8, QByteArray(8, '\xff')));
        const QByteArray before = contents(db.path());
        const auto mode =
            setup.startsWith(QLatin1String("created")) ? Connection::Mode::CreateNew : Connection::Mode::OpenExisting;
        QCOMPARE(errorMessage([&] { Connection c(db.path(), mode, 100); }), expected.arg(db.path()));
        QCOMPARE(contents(db.path()), before);
        QCOMPARE(QFileInfo::exists(db.path()), setup != QLatin1String("missing"));
    }

    // Rollback journal, full synchronous commits, no foreign keys, a busy timeout; the tables' column types read at
    // opening, and again after a change.
    void opening() {
        TempDatabase db;
        Connection c(db.path());
        QStringList settings;
        for (const char* pragma : {"journal_mode", "synchronous", "foreign_keys", "busy_timeout"})
            settings << kb::text::display(db.scalar(QStringLiteral("PRAGMA ") + QLatin1String(pragma)));
        QCOMPARE(settings.join(QLatin1Char(' ')), QStringLiteral("delete 2 0 5000"));
        c.execute(QStringLiteral("CREATE TABLE Extra (X DATE)"));
        QVERIFY(!c.columnTypes().hasTable(QStringLiteral("Extra")));
        c.reloadColumnTypes();
        QCOMPARE(c.columnTypes().type(QStringLiteral("Extra"), QStringLiteral("X")), kb::FieldType::DateTime);
    }

    // The rows a statement gives, or the message it fails with; a failed statement changes nothing.
    void statements_data() {
        columns<QString, QString>("sql", "expected");
        row("values", "SELECT NULL, 9000000000, 1481.5, 'Иванов'",
            "NULL, Integer 9000000000, Float 1481.5, Text 'Иванов'");
        row("a date-time column reads its ISO texts as date-times", "SELECT Data, Premia FROM Premia",
            "DateTime 2013-04-01 09:30:00, Text 'iso' / DateTime 2013-04-30 00:00:00, Text 'date' / Text 'апрель', "
            "Text 'word'");
        row("an expression over it does not", "SELECT Data || '' FROM Premia WHERE ID = 1",
            "Text '2013-04-01 09:30:00'");
        row("unknown table at prepare", "SELECT * FROM Nowhere", "no such table: Nowhere");
        row("syntax", "SELEKT 1", "near \"SELEKT\": syntax error");
        row("run-time error", "SELECT abs(-9223372036854775807 - 1)", "integer overflow");
        row("message of the database passes unchanged", "INSERT INTO Dolznost (Nazvanie) VALUES ('запрещено')",
            "Должность запрещена");
        row("empty text", "  -- nothing\n", "Текст запроса пуст");
        row("two statements", "SELECT 1; DELETE FROM Dolznost", "Текст запроса содержит больше одной инструкции SQL");
        row("trailing semicolon and comment", "SELECT 1; -- one", "Integer 1");
        row("character 0 ends the text SQLite reads", QStringLiteral("SELECT 1 FROM Dolznost W%1HERE 0").arg(QChar(0)),
            "Текст запроса содержит символ с кодом 0");
    }
    void statements() {
        const auto [sql, expected] = fetch<QString, QString>("sql", "expected");
        TempDatabase db;
        db.addDolznost(QStringLiteral("Кассир"));
        db.exec(QStringLiteral("CREATE TRIGGER NoForbidden BEFORE INSERT ON Dolznost WHEN NEW.Nazvanie = 'запрещено' "
                               "BEGIN SELECT RAISE(ABORT, 'Должность запрещена'); END"));
        db.exec(QStringLiteral("INSERT INTO Premia (IDSotr, Data, Premia) VALUES (1, '2013-04-01 09:30:00', 'iso'), "
                               "(1, '2013-04-30', 'date'), (1, 'апрель', 'word')"));
        QStringList rows;
        const QString error = errorMessage([&] {
            kb::Statement st = db.connection().prepareNative(sql);
            while (st.step()) {
                QStringList values;
                for (int i = 0; i < st.columnCount(); ++i)
                    values << describe(st.column(i));
                rows << values.join(QStringLiteral(", "));
            }
        });
        QCOMPARE(error.isNull() ? rows.join(QStringLiteral(" / ")) : error, expected);
        QCOMPARE(db.scalar(kNames), Value(QStringLiteral("Кассир")));
    }

    // A transaction rolls back unless committed; one that meets another user's fails with the busy message.
    void transactions() {
        TempDatabase db;
        for (const bool commit : {false, true}) {
            kb::Transaction t(db.connection());
            db.connection().execute(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('%1')")
                                        .arg(commit ? QStringLiteral("Сохранено") : QStringLiteral("Отброшено")));
            if (commit)
                t.commit();
        }
        db.closeConnection();
        QCOMPARE(db.scalar(kNames), Value(QStringLiteral("Сохранено")));
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
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
