// Opening the database file, statements and transactions on real files.
#include "Connection.h"
#include "FileUseLocks.h"
#include "TestRows.h"
#include "TestSupport.h"
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

    // The rows a statement gives, or the message it fails with; a failed statement changes nothing.
    void statements_data() {
        columns<QString, QString>("sql", "expected");
        row("values", "SELECT NULL, 9000000000, 1481.5, 'Иванов'",
            "NULL, Integer 9000000000, Float 1481.5, Text 'Иванов'");
        row("a date-time column reads its ISO texts as date-times", "SELECT Data, Premia FROM Premia",
            "DateTime 2013-04-01 09:30:00, Text 'iso' / DateTime 2013-04-30 00:00:00, Text 'date' / Text 'апрель', "
            "Text 'word'");
        row("unknown table at prepare", "SELECT * FROM Nowhere", "no such table: Nowhere");
        row("empty text", "  -- nothing\n", "Текст запроса пуст");
        row("two statements", "SELECT 1; DELETE FROM Dolznost", "Текст запроса содержит больше одной инструкции SQL");
        row("trailing semicolon and comment", "SELECT 1; -- one", "Integer 1");
        row("character 0 ends the text SQLite reads", u"SELECT 1 FROM Dolznost W%1HERE 0"_s.arg(QChar(0)),
            "Текст запроса содержит символ с кодом 0");
    }
    void statements() {
        const auto [sql, expected] = fetch<QString, QString>("sql", "expected");
        TempDatabase db;
        db.addDolznost(u"Кассир"_s);
        db.exec(u"INSERT INTO Premia (IDSotr, Data, Premia) VALUES (1, '2013-04-01 09:30:00', 'iso'), "
                "(1, '2013-04-30', 'date'), (1, 'апрель', 'word')"_s);
        QStringList rows;
        const QString error = errorMessage([&] {
            kb::sql::Statement st = db.connection().prepareNative(sql);
            while (st.step()) {
                QStringList values;
                for (int i = 0; i < st.columnCount(); ++i)
                    values << describe(st.column(i));
                rows << values.join(u", "_s);
            }
        });
        QCOMPARE(error.isNull() ? rows.join(u" / "_s) : error, expected);
        QCOMPARE(db.scalar(u"SELECT group_concat(Nazvanie, ' ') FROM Dolznost"_s), Value(u"Кассир"_s));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
