// Opening the database file or a database on the test server, statements and transactions on both.
#include "Connection.h"
#include "FileUseLocks.h"
#include "KeyContinuation.h"
#include "TestRows.h"
#include "TestSupport.h"
#include "Transaction.h"
#include "ValueText.h"

#include <QDir>
#include <QFile>
#include <grp.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using kb::sql::Connection;
using kb::sql::Value;
using namespace kbtest;

namespace {

// Runs action in a child process as the user "nobody" (root ignores permissions); returns what action returns.
QString asUnprivileged(const std::function<QString()>& action) {
    int fds[2];
    if (::pipe(fds) != 0)
        return u"no pipe"_s;
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        const QByteArray out = dropped ? action().toUtf8() : QByteArray("no unprivileged user");
        ::_exit(::write(fds[1], out.constData(), size_t(out.size())) == out.size() ? 0 : 1);
    }
    ::close(fds[1]);
    QFile got;
    got.open(fds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray out = got.readAll();
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(out);
}

} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private slots:
    // Each way opening fails: the message (%1 the file's path); the folder's files, bytes and times stay as they were.
    void openFailures_data() {
        columns<QString, QString>("setup", "expected");
        const auto failure = [](const char* setup, const char* message) { row(setup, setup, message); };
        failure("missing", "Файл базы данных не найден: %1");
        failure("folder", "Вместо файла базы данных найдена папка: %1");
        failure("unreadable", "Нет доступа к файлу базы данных %1: чтение запрещено");
        failure("read-only", "Нет доступа к файлу базы данных %1: запись запрещена");
        failure("read-only folder", "Нет доступа к папке базы данных %1: запись в папку запрещена, изменения не могут "
                                    "быть сохранены");
        failure("empty", "Файл %1 не является базой данных: он пуст");
        failure("text", "Файл %1 не является базой данных (чтение схемы): file is not a database");
        failure("old program's file", "Файл %1 - база данных старой программы (Microsoft Jet, Access). Программа не "
                                      "открывает такой файл и не изменяет его; перенесите данные в новый файл "
                                      "командой:\nkultbuh-db import \"%1\" НОВЫЙ_ФАЙЛ");
        failure("damaged", "Файл базы данных %1 повреждён (чтение схемы): database disk image is malformed");
        failure("locked by another process", "База данных %1 заблокирована другой программой или пользователем "
                                             "(чтение схемы): database is locked");
        failure("being restored", "База данных %1 сейчас восстанавливается из резервной копии: откройте её, когда "
                                  "восстановление закончится");
        failure("created over a file", "Файл %1 уже существует: новая база данных не создана");
    }
    void openFailures() {
        const auto [setup, expected] = fetch<QString, QString>("setup", "expected");
        TempDatabase db;
        db.addDolznost(u"Бухгалтер"_s);
        db.closeConnection();
        if (setup == u"missing"_s || setup == u"folder"_s)
            QVERIFY(QFile::remove(db.path()) && (setup == u"missing"_s || QDir(db.dir()).mkdir(db.path())));
        // Root reads and writes whatever the permissions say: then the user "nobody" tries.
        const std::map<QString, mode_t> modes{{"unreadable", 0}, {"read-only", 0444}, {"read-only folder", 0666}};
        const bool permissions = modes.contains(setup);
        const QByteArray dir = QFile::encodeName(db.dir());
        if (permissions)
            QVERIFY(::chmod(dir, 0555) == 0 && ::chmod(QFile::encodeName(db.path()), modes.at(setup)) == 0);
        std::optional<LockHolder> holder;
        if (setup == u"locked by another process"_s)
            QVERIFY(holder.emplace(db.path()).held());
        std::optional<kb::sql::ExclusiveFileUse> restoring;
        if (setup == u"being restored"_s)
            restoring.emplace(db.path());
        const std::map<QString, QByteArray> contents{
            {"empty", {}},
            {"text", u"Это не база данных, а просто текст.\n"_s.repeated(40).toUtf8()},
            {"old program's file", QByteArray("\0\1\0\0Standard Jet DB\0\1", 21) + QByteArray(4075, '\0')},
            {"damaged", fileBytes(db.path()).replace(100, 8, QByteArray(8, '\xff'))}}; // the first page's header
        if (contents.contains(setup))
            QVERIFY(writeFile(db.path(), contents.at(setup)));
        const QString before = folderState(db.path());
        const auto mode = setup.startsWith(u"created"_s) ? Connection::Mode::CreateNew : Connection::Mode::OpenExisting;
        const auto attempt = [&] { return errorMessage([&] { Connection c(db.path(), mode, 100); }); };
        QCOMPARE(permissions && ::getuid() == 0 ? asUnprivileged(attempt) : attempt(), expected.arg(db.path()));
        QVERIFY(::chmod(dir, 0700) == 0);
        QCOMPARE(folderState(db.path()), before);
    }

    // Rollback journal, full synchronous commits, no foreign keys, a busy timeout.
    void opening() {
        TempDatabase db;
        QStringList settings;
        for (const char* pragma : {"journal_mode", "synchronous", "foreign_keys", "busy_timeout"})
            settings << kb::text::display(db.scalar(u"PRAGMA "_s + QLatin1String(pragma)));
        QCOMPARE(settings.join(u' '), u"delete 2 0 5000"_s);
    }

    // The rows a statement gives, or the message it fails with; a failed statement changes nothing. A server's
    // date-time column holds date-times only; its engine's own messages are its own.
    void statements_data() {
        columns<Engine, QString, QString>("engine", "sql", "expected");
        bothRow("values", u"SELECT NULL, 9000000000, 1481.5, 'Иванов', ?1 + 0, :P2 * 1.0, ?1 + 0"_s,
                u"NULL, Integer 9000000000, Float 1481.5, Text 'Иванов', Integer 7, Float 0.5, Integer 7"_s);
        fileRow("a date-time column reads its ISO texts as date-times", u"SELECT Data, Premia FROM Premia"_s,
                u"DateTime 2013-04-01 09:30:00, Text 'iso' / DateTime 2013-04-30 00:00:00, Text 'date' / Text "
                "'апрель', Text 'word'"_s);
        newEngineRow(Engine::Server, "a date-time column") << u"SELECT Data, Premia FROM Premia ORDER BY ID"_s
                                                           << u"DateTime 2013-04-01 09:30:00, Text 'iso' / DateTime "
                                                              "2013-04-30 00:00:00, Text 'date'"_s;
        // What the server reads otherwise than SQLite: '::' a cast, not a parameter; '[ ]' a subscript; `name` quoted.
        newEngineRow(Engine::Server, "a server's casts, subscripts and names")
            << u"SELECT '7'::integer + 0, (ARRAY[5, 6])[2], `Nazvanie` FROM Dolznost"_s
            << u"Integer 7, Integer 6, Text 'Кассир'"_s;
        fileRow("unknown table at prepare", u"SELECT * FROM Nowhere"_s, u"no such table: Nowhere"_s);
        // Doubles come back exactly, computed by the engine and as bound (1/3 stored in Stavka.Sum).
        bothRow("doubles exact", u"SELECT Sum, Sum * 3, Sum / 7 FROM Stavka"_s,
                QStringList{describe(1.0 / 3), describe(1.0 / 3 * 3), describe(1.0 / 3 / 7)}.join(u", "_s));
        bothRow("empty text", u"  -- nothing\n"_s, u"Текст запроса пуст"_s);
        bothRow("two statements", u"SELECT 1; DELETE FROM Dolznost"_s,
                u"Текст запроса содержит больше одной инструкции SQL"_s);
        bothRow("trailing semicolon and comment", u"SELECT 1; -- one"_s, u"Integer 1"_s);
        bothRow("character 0 ends the text SQLite reads", u"SELECT 1 FROM Dolznost W%1HERE 0"_s.arg(QChar(0)),
                u"Текст запроса содержит символ с кодом 0"_s);
    }
    void statements() {
        const auto [engine, sql, expected] = fetch<Engine, QString, QString>("engine", "sql", "expected");
        TempDatabase db(engine);
        db.addDolznost(u"Кассир"_s);
        db.addStavka(1, 1.0 / 3);
        db.exec(u"INSERT INTO Premia (IDSotr, Data, Premia) VALUES (1, '2013-04-01 09:30:00', 'iso'), "
                "(1, '2013-04-30', 'date')"_s);
        if (engine == Engine::File)
            db.exec(u"INSERT INTO Premia (IDSotr, Data, Premia) VALUES (1, 'апрель', 'word')"_s);
        QStringList rows;
        const QString error = errorMessage([&] {
            kb::sql::Statement st = db.connection().prepareNative(sql);
            if (st.parameterCount() == 2) {
                st.bind(1, Value(7));
                st.bind(st.parameterIndex(u":P2"_s), Value(0.5));
            }
            while (st.step()) {
                QStringList values;
                for (int i = 0; i < st.columnCount(); ++i)
                    values << describe(st.column(i));
                rows << values.join(u", "_s);
            }
        });
        QCOMPARE(error.isNull() ? rows.join(u" / "_s) : error, expected);
        QCOMPARE(db.scalar(u"SELECT count(*) FROM Dolznost"_s), Value(1));
    }

    // Each way a server database fails (%1 "сервер H, база D"): the message names the server and the database and
    // never the password; a broken connection loses the transaction whole, and the next use connects anew.
    void serverFailures_data() {
        columns<QString, QString>("setup", "expected");
        const auto failure = [](const char* setup, const char* message) { row(setup, setup, message); };
        failure("no server", "Не удаётся подключиться к базе данных (%1): ");
        failure("refused password", "Не удаётся подключиться к базе данных (%1): ");
        failure("password from the environment", "");
        failure("password in the name", "Пароль в строке подключения к базе данных (%1) не принимается: укажите его "
                                        "в ~/.pgpass, в файле служб или в переменной PGPASSWORD");
        failure("password in a name libpq cannot read", "Пароль в строке подключения к базе данных (%1) не "
                                                        "принимается");
        failure("password first in the name", "Пароль в строке подключения к базе данных (%1) не принимается");
        failure("no schema", "База данных (%1) не содержит таблиц программы: создайте их командой kultbuh-db create");
        failure("another version", "База данных (%1) имеет схему версии 99, а программа работает со схемой версии 1");
        failure("created over a schema", "База данных (%1) не пуста: в ней уже есть таблицы, новая база данных в ней "
                                         "не создана");
        failure("server stopped between two statements", "Связь с сервером баз данных прервана (%1): ");
    }
    void serverFailures() {
        const auto [setup, expected] = fetch<QString, QString>("setup", "expected");
        TempDatabase db(Engine::Server);
        const QString database = db.path().section(u"dbname="_s, 1).section(u' ', 0, 0);
        const QString host = db.path().section(u"host="_s, 1).section(u' ', 0, 0);
        QString name = db.path();
        const QByteArray password = "верный-пароль-7";
        if (setup == u"no server"_s)
            name = u"host=/nonexistent/kb dbname=%1 user=postgres"_s.arg(database);
        if (setup.contains(u"password"_s)) {
            db.connection().execute(
                u"DO $$BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'pwuser') THEN CREATE ROLE "
                "pwuser LOGIN; END IF; END$$"_s);
            db.exec(u"ALTER ROLE pwuser PASSWORD '%1'"_s.arg(QString::fromUtf8(password)));
            db.exec(u"GRANT SELECT ON ALL TABLES IN SCHEMA public TO pwuser"_s);
            name.replace(u"user=postgres"_s, u"user=pwuser"_s);
            qputenv("PGPASSWORD", setup == u"refused password"_s ? password + "-не-тот" : password);
        }
        if (setup == u"password in the name"_s)
            name =
                u"postgresql://pwuser:%1@%2/%3"_s.arg(QString::fromUtf8(password.toPercentEncoding()),
                                                      QString::fromUtf8(host.toUtf8().toPercentEncoding()), database);
        if (setup == u"password in a name libpq cannot read"_s) // libpq's message would quote it whole
            name = u"postgresql://pwuser:%1@[%2/%3"_s.arg(QString::fromUtf8(password), host, database);
        if (setup == u"password first in the name"_s) // not to be taken for a file's name
            name = u"password=%1 "_s.arg(QString::fromUtf8(password)) + name;
        if (setup == u"no schema"_s)
            db.exec(u"DROP TABLE kb_schema_version"_s);
        if (setup == u"another version"_s)
            db.exec(u"UPDATE kb_schema_version SET version = 99"_s);
        QString message;
        if (setup == u"server stopped between two statements"_s) {
            Connection c(name);
            kb::sql::Statement kept = c.prepareNative(u"SELECT count(*) FROM Dolznost"_s);
            message = errorMessage([&] {
                kb::sql::Transaction t(c);
                c.prepareNative(u"INSERT INTO Dolznost (Nazvanie) VALUES ('Сторож')"_s).step();
                db.exec(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = ?1 AND pid <> "
                        "pg_backend_pid()"_s,
                        {Value(database)});
                c.prepareNative(u"INSERT INTO Dolznost (Nazvanie) VALUES ('Дворник')"_s).step();
                t.commit();
            });
            QCOMPARE(errorMessage([&] { kept.step(); }), QString()); // on the connection made anew
        } else {
            const auto mode =
                setup.startsWith(u"created"_s) ? Connection::Mode::CreateNew : Connection::Mode::OpenExisting;
            message = errorMessage([&] { Connection c(name, mode); });
        }
        qunsetenv("PGPASSWORD");
        const QString shown =
            setup.endsWith(u"cannot read"_s)
                ? u"сервер по умолчанию, база по умолчанию"_s
                : u"сервер %1, база %2"_s.arg(setup == u"no server"_s ? u"/nonexistent/kb"_s : host, database);
        QVERIFY2(expected.isEmpty() ? message.isNull() : message.startsWith(expected.arg(shown)), qPrintable(message));
        QVERIFY(!message.contains(QString::fromUtf8(password)));
        QCOMPARE(db.count(u"Dolznost"_s), 0);
    }

    // Rows copied in with their IDs: the next numbered row goes above the greatest of them, on either engine.
    void keysContinue_data() {
        columns<Engine>("engine");
        for (Engine e : kEngines)
            newEngineRow(e, "dolznost");
    }
    void keysContinue() {
        TempDatabase db(std::get<0>(fetch<Engine>("engine")));
        db.exec(u"INSERT INTO Dolznost (ID, Nazvanie) VALUES (40, 'Кассир'), (7, 'Бухгалтер')"_s);
        kb::dataset::schema::continueKeys(db.connection());
        QCOMPARE(db.addDolznost(u"Директор"_s), 41);
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
