// The launcher's decisions with scripted answers, in a temporary home: when it asks, what it has kultbuh-db do, which
// backups it keeps, and that it leaves an existing database as it was.
#include "Backups.h"
#include "Launcher.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <numeric>

using Start = kb::launcher::LauncherQuestions::Start;
using namespace kbtest;

namespace {
// Answers as scripted; records each kultbuh-db run, each warning ("report") and the start, in order.
struct Script : kb::launcher::LauncherQuestions, kb::launcher::LauncherActions {
    Start answer = Start::Cancel;
    int asked = 0;
    QStringList calls, reports;
    Start howToStart(const QString&) override { return ++asked, answer; }
    std::optional<QString> oldDatabase() override { return QStringLiteral("/old/BAZA.mdb"); }
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
private slots:
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
        QTemporaryDir home;
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
};

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
