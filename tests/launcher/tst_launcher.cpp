// The launcher's decisions with scripted answers, in a temporary home: when
// it asks, what it has kultbuh-db do, which backups it keeps, and that it
// leaves an existing database as it was.
#include "Backups.h"
#include "Launcher.h"
#include "TestRows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using kb::launcher::LauncherActions;
using kb::launcher::LauncherQuestions;
using Start = LauncherQuestions::Start;
using namespace kbtest;

namespace {

class ScriptedQuestions : public LauncherQuestions {
public:
    Start answer = Start::Cancel;
    std::optional<QString> old;
    int asked = 0;
    QStringList reports;

    Start howToStart(const QString&) override {
        ++asked;
        return answer;
    }
    std::optional<QString> oldDatabase() override { return old; }
    void report(const QString& text) override { reports << text; }
};

class RecordingActions : public LauncherActions {
public:
    QStringList calls;
    void runDbTool(const QStringList& arguments) override { calls << arguments.join(u' '); }
    void startProgram(const QString& folder) override { calls << QStringLiteral("start ") + folder; }
};

const QDateTime kNow(QDate(2026, 3, 10), QTime(9, 0));

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void decisions_data();
    void decisions();
};

// Backups by their age in hours, negative ones dated in the future; "report" when the launcher must warn.
void TestLauncher::decisions_data() {
    columns<bool, int, QList<int>, int, QStringList, int>("database", "answer", "backupAgesInHours", "asked", "calls",
                                                          "backupsLeft");
    const QString start = QStringLiteral("start HOME/kultbuh"), backup = QStringLiteral("backup DB");
    row("no database: an empty one", false, int(Start::EmptyDatabase), QList<int>{}, 1,
        QStringList{"create DB", backup, start}, 0);
    row("no database: the old one", false, int(Start::OldDatabase), QList<int>{}, 1,
        QStringList{"import /old/BAZA.mdb DB", backup, start}, 0);
    row("no database: cancelled", false, int(Start::Cancel), QList<int>{}, 1, QStringList{}, 0);
    row("database, backup of today", true, 0, QList<int>{2, 30}, 0, QStringList{start}, 2);
    row("database, backup older than a day", true, 0, QList<int>{25, 50}, 0, QStringList{backup, start}, 2);
    QList<int> many;
    for (int hours = 1; hours <= 31; ++hours)
        many << hours;
    row("31 backups: the oldest removed", true, 0, many, 0, QStringList{start}, 30);
    // A wrong clock once: the name proves no fresh backup, and the real ones are not pruned for it.
    QList<int> stale{-24 * 365 * 20}; // 20 years ahead, after 30 backups older than a day
    for (int hours = 54; hours >= 25; --hours)
        stale.prepend(hours);
    row("a backup dated in the future", true, 0, stale, 0, QStringList{"report", backup, start}, 31);
}

void TestLauncher::decisions() {
    auto [database, answer, backupAgesInHours, asked, calls, backupsLeft] =
        fetch<bool, int, QList<int>, int, QStringList, int>("database", "answer", "backupAgesInHours", "asked", "calls",
                                                            "backupsLeft");

    QTemporaryDir home;
    const QString folder = kb::launcher::dataFolder(home.path());
    const QString db = QDir(folder).filePath(QStringLiteral("BAZA.mdb"));
    const QByteArray content("the accountant's database");
    const QDir backups(QDir(folder).filePath(QStringLiteral("backup")));
    QVERIFY(QDir().mkpath(backups.path()));
    if (database)
        writeFile(db, content);
    QStringList oldest;
    for (int hours : backupAgesInHours) {
        const QString name = kNow.addSecs(-3600 * hours).toString(QStringLiteral("'BAZA-'yyyy-MM-dd-HHmmss'.mdb'"));
        writeFile(backups.filePath(name), "backup");
        oldest << name;
    }
    // Not a backup by its name: never removed.
    writeFile(backups.filePath(QStringLiteral("BAZA-notes.mdb")), "notes");

    ScriptedQuestions questions;
    questions.answer = Start(answer);
    questions.old = QStringLiteral("/old/BAZA.mdb");
    RecordingActions actions;
    QCOMPARE(kb::launcher::launch(folder, questions, actions, kNow), 0);

    QCOMPARE(questions.asked, asked);
    QCOMPARE(questions.reports.size(), int(calls.removeAll(QStringLiteral("report"))));
    QVERIFY(questions.reports.isEmpty() || questions.reports.join(u' ').contains(QStringLiteral("BAZA-2046-")));
    calls.replaceInStrings(QStringLiteral("DB"), db).replaceInStrings(QStringLiteral("HOME"), home.path());
    QCOMPARE(actions.calls, calls);
    if (database) {
        QFile file(db);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
    QCOMPARE(backups.entryList({QStringLiteral("BAZA-2*.mdb")}, QDir::Files).size(), backupsLeft);
    if (backupsLeft < backupAgesInHours.size())
        QVERIFY(!backups.exists(oldest.last()));
    QVERIFY(backupAgesInHours.value(backupAgesInHours.size() - 1, 1) > 0 || backups.exists(oldest.last()));
    QVERIFY(backups.exists(QStringLiteral("BAZA-notes.mdb")));
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
