// The launcher's decisions with scripted answers, in a temporary home: when it asks, what it has kultbuh-db do, which
// backups it keeps, and that it leaves an existing database as it was; which database the program opens; the password
// file; the server answer's check of a login on the test server.
#include "Backups.h"
#include "DatabaseChoice.h"
#include "Launcher.h"
#include "ServerCheck.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <numeric>

using Start = kb::launcher::LauncherQuestions::Start;
using namespace kbtest;
using namespace Qt::StringLiterals;

namespace {
// Answers as scripted; records each kultbuh-db run, each warning ("report") and the start, in order.
struct Script : kb::launcher::LauncherQuestions, kb::launcher::LauncherActions {
    Start answer = Start::Cancel;
    int asked = 0;
    QStringList calls, reports;
    Start howToStart(const QString&) override { return ++asked, answer; }
    std::optional<QString> oldDatabase() override { return QStringLiteral("/old/BAZA.mdb"); }
    std::optional<kb::launcher::ServerLogin> serverLogin() override {
        return {{"srv", "kultbuh", "anna", "pw", false}};
    }
    void report(const QString& text) override { calls << "report", reports << text; }
    void runDbTool(const QStringList& arguments) override { calls << arguments.join(u' '); }
    void startProgram(const QString& folder) override { calls << "start " + folder; }
};

QList<int> hours(int from, int to) { // from, from + 1, ..., to
    QList<int> list(to - from + 1);
    std::iota(list.begin(), list.end(), from);
    return list;
}
} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
    QTemporaryDir home;
private slots:
    void init() {
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
        qunsetenv("KULTBUH_DATABASE");
        QDir(home.path()).removeRecursively() && QDir().mkpath(home.path());
    }
    // Backups by their age in hours, negative ones dated in the future.
    void decisions_data() {
        columns<bool, int, QList<int>, int, QStringList, int>("database", "answer", "backupAgesInHours", "asked",
                                                              "calls", "backupsLeft");
        const QString start = "start HOME/kultbuh", backup = "backup DB";
        row("no database: an empty one", false, int(Start::EmptyDatabase), QList<int>{}, 1,
            QStringList{"create DB", backup, start}, 0);
        row("no database: the old one", false, int(Start::OldDatabase), QList<int>{}, 1,
            QStringList{"import /old/BAZA.mdb DB", backup, start}, 0);
        row("no database: cancelled", false, int(Start::Cancel), QList<int>{}, 1, QStringList{}, 0);
        // On a server: no file made, no backup taken, then or on the next start; no further question either.
        row("no database: the server", false, int(Start::Server), QList<int>{25}, 1, QStringList{start, start}, 1);
        row("database, backup of today", true, 0, QList<int>{2, 30}, 0, QStringList{start}, 2);
        row("database, backup older than a day", true, 0, QList<int>{25, 50}, 0, QStringList{backup, start}, 2);
        row("31 backups: the oldest removed", true, 0, hours(1, 31), 0, QStringList{start}, 30);
        // A wrong clock once: the name proves no fresh backup, and the real ones are not pruned for it.
        row("a backup dated in the future", true, 0, hours(25, 54) << -24 * 365 * 20, 0,
            QStringList{"report", backup, start}, 31);
    }
    void decisions() {
        auto [database, answer, ages, asked, calls, backupsLeft] = fetch<bool, int, QList<int>, int, QStringList, int>(
            "database", "answer", "backupAgesInHours", "asked", "calls", "backupsLeft");
        const QDateTime now(QDate(2026, 3, 10), QTime(9, 0));
        const QString folder = kb::launcher::dataFolder(home.path()), db = folder + "/BAZA.mdb";
        const QDir backups(folder + "/backup");
        QVERIFY(QDir().mkpath(backups.path()) && (!database || writeFile(db, "the accountant's database")));
        QStringList names;
        for (int age : ages) {
            names << now.addSecs(-3600 * age).toString("'BAZA-'yyyy-MM-dd-HHmmss'.mdb'");
            QVERIFY(writeFile(backups.filePath(names.last()), "backup"));
        }
        QVERIFY(writeFile(backups.filePath("BAZA-notes.mdb"), "notes")); // not a backup by its name: never removed
        Script script;
        script.answer = Start(answer);
        QCOMPARE(kb::launcher::launch(folder, script, script, now), 0);
        if (script.answer == Start::Server) {
            QCOMPARE(kb::dataset::chosenDatabase(), "host=srv dbname=kultbuh user=anna");
            QCOMPARE(kb::launcher::launch(folder, script, script, now.addDays(2)), 0);
        }
        QCOMPARE(script.asked, asked);
        QCOMPARE(script.calls, calls.replaceInStrings("DB", db).replaceInStrings("HOME", home.path()));
        QVERIFY(script.reports.isEmpty() || script.reports.join(u' ').contains("BAZA-2046-"));
        QVERIFY(!database || fileBytes(db) == "the accountant's database");
        QCOMPARE(backups.entryList({"BAZA-2*.mdb"}, QDir::Files).size(), backupsLeft);
        // The oldest real backup goes when there are too many; one dated in the future stays.
        const int oldest = int(std::max_element(ages.begin(), ages.end()) - ages.begin());
        QCOMPARE(ages.isEmpty() || backups.exists(names.value(oldest)), backupsLeft >= ages.size());
        QVERIFY(ages.isEmpty() || ages.last() > 0 || backups.exists(names.last()));
        QVERIFY(backups.exists("BAZA-notes.mdb"));
    }
    // The environment variable, then the settings file ($XDG_CONFIG_HOME or ~/.config), then BAZA.mdb.
    void chosenDatabase_data() {
        columns<QByteArray, bool, QByteArray, QString>("environment", "xdgConfigHome", "setting", "chosen");
        row("nothing set", QByteArray(), true, QByteArray(), "BAZA.mdb");
        row("the settings file", QByteArray(), true, QByteArray("host=srv dbname=k"), "host=srv dbname=k");
        row("~/.config without XDG_CONFIG_HOME", QByteArray(), false, QByteArray("/d/a.mdb"), "/d/a.mdb");
        row("an unquoted comma", QByteArray(), true, QByteArray("host=a options=-c,x"), "host=a options=-c,x");
        row("the environment first", QByteArray("postgresql://srv/k"), true, QByteArray("/d/a.mdb"),
            "postgresql://srv/k");
    }
    void chosenDatabase() {
        const auto [environment, xdgConfigHome, setting, chosen] =
            fetch<QByteArray, bool, QByteArray, QString>("environment", "xdgConfigHome", "setting", "chosen");
        qputenv("KULTBUH_DATABASE", environment);
        const QString config = home.path() + (xdgConfigHome ? "/config" : "/.config") + "/kultbuh";
        if (!xdgConfigHome)
            qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(setting.isEmpty() ||
                (QDir().mkpath(config) && writeFile(config + "/kultbuh.conf", "[Database]\ndatabase=" + setting)));
        QCOMPARE(kb::dataset::chosenDatabase(), chosen);
    }
    void shownName_data() {
        columns<QString, QString>("name", "shown");
        row("URI", "postgresql://anna:se:cret@srv:5432/k?password=x&sslmode=require",
            "postgresql://anna@srv:5432/k?sslmode=require");
        row("key=value", "host=srv password='a \\' b' dbname=k", "host=srv dbname=k");
    }
    void shownName() {
        const auto [name, shown] = fetch<QString, QString>("name", "shown");
        QCOMPARE(kb::dataset::shownDatabaseName(name), shown);
    }
    // host:port:database:user:password, ':' and '\\' escaped; one line per server, database and user.
    // "Проверить подключение" on the test server: the right password through the temporary password file, a wrong
    // one and a database without the program's tables refused in words that never show the password.
    void serverCheck_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("schema");
        QTest::addColumn<QString>("problem");
        QTest::newRow("right password") << u"пароль:7\\"_s << true << QString();
        QTest::newRow("wrong password") << u"не тот"_s << true << u"пароль"_s;
        QTest::newRow("no tables") << u"пароль:7\\"_s << false << u"таблиц"_s;
    }
    void serverCheck() {
        const auto [password, schema, problem] = fetch<QString, bool, QString>("password", "schema", "problem");
        TempDatabase db(schema ? TempDatabase::Content::Schema : TempDatabase::Content::Empty, {}, Engine::Server);
        db.connection().execute(u"DO $$BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'kb_launcher') "
                                "THEN CREATE ROLE kb_launcher LOGIN PASSWORD 'пароль:7\\'; END IF; END$$"_s);
        if (schema)
            db.exec(u"GRANT SELECT ON ALL TABLES IN SCHEMA public TO kb_launcher"_s);
        const auto field = [&](const QString& key) { return db.path().section(key + u'=', 1).section(u' ', 0, 0); };
        const QString found =
            kb::launcher::connectionProblem({field(u"host"_s), field(u"dbname"_s), u"kb_launcher"_s, password});
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.contains(problem), qPrintable(found));
        QVERIFY(!found.contains(password));
    }

    void rememberPassword_data() {
        columns<QByteArray, QByteArray>("before", "after");
        const QByteArray line = "srv:*:kultbuh:a\\:b:p\\\\w\\:d\n";
        row("a new file", QByteArray(), line);
        row("its line replaced, others kept", QByteArray("# k\nsrv:*:kultbuh:a\\:b:old\nsrv:*:kultbuh:ab:x\n"),
            "# k\n" + line + "srv:*:kultbuh:ab:x\n");
        row("another user: a line added", QByteArray("srv:*:kultbuh:a:x"), "srv:*:kultbuh:a:x\n" + line);
    }
    void rememberPassword() {
        const auto [before, after] = fetch<QByteArray, QByteArray>("before", "after");
        const QString file = home.path() + "/.pgpass";
        QVERIFY(before.isEmpty() || writeFile(file, before));
        kb::launcher::rememberPassword(file, {"srv", "kultbuh", "a:b", "p\\w:d", true});
        QCOMPARE(fileBytes(file), after);
        QCOMPARE(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
