#include "AppearanceSetup.h"
#include "Connection.h"
#include "DataModule.h"
#include "KultbuhApplication.h"
#include "ScriptedModalDialogs.h"
#include "Startup.h"
#include "TFormMain.h"
#include "TFormZ.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using kb::ui::ScopedScriptedDialogs;
using Kind = kb::ui::ScriptedModalDialogs::Kind;

namespace {

// Whether this process has the file open.
bool fileIsOpen(const QString& path) {
    const QString wanted = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)) {
        if (QFileInfo(fds.filePath(fd)).symLinkTarget() == wanted)
            return true;
    }
    return false;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TFormMain* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<TFormMain*>(widget))
            return window;
    }
    return nullptr;
}

// What the splash screen's script saw while the splash was up.
struct DuringSplash {
    bool scripted = false;
    bool splashIsTFormZ = false;
    bool dataModuleExists = true;
    bool databaseOpen = true;
    bool databaseChanged = true;
    bool mainWindowBuilt = false;
    bool mainWindowVisible = true;
};

void endSplash(TFormZ& splash, const QString& how) {
    if (how == u"button")
        QTest::mouseClick(splash.Button1, Qt::LeftButton);
    else if (how == u"enter")
        QTest::keyClick(&splash, Qt::Key_Return);
    else if (how == u"escape")
        QTest::keyClick(&splash, Qt::Key_Escape);
    else
        splash.close();
}

// Scripts the splash: records what exists while it is up, then ends it.
void scriptSplash(kb::ui::ScriptedModalDialogs& dialogs, DuringSplash& seen, const QString& database,
                  const QString& how, const std::function<void()>& onClose = {}) {
    const QByteArray before = contentOf(database);
    dialogs.scriptDialogAction([&seen, database, before, how, onClose](QDialog& dialog) {
        seen.scripted = true;
        auto* splash = qobject_cast<TFormZ*>(&dialog);
        seen.splashIsTFormZ = splash != nullptr;
        seen.dataModuleExists = DataM != nullptr;
        seen.databaseOpen = fileIsOpen(database);
        seen.databaseChanged = contentOf(database) != before;
        seen.mainWindowBuilt = mainWindow() != nullptr;
        seen.mainWindowVisible = seen.mainWindowBuilt && mainWindow()->isVisible();
        if (onClose)
            onClose();
        if (splash) {
            QApplication::setActiveWindow(splash);
            (void)QTest::qWaitForWindowActive(splash);
            endSplash(*splash, how);
        }
    });
}

// Ends the event loop even if the program under test does not.
class Watchdog {
public:
    Watchdog() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            fired = true;
            QApplication::closeAllWindows();
            QCoreApplication::exit(99);
        });
        timer_.start(30000);
    }
    bool fired = false;

private:
    QTimer timer_;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void databaseIsTouchedOnlyAfterTheSplash_data();
    void databaseIsTouchedOnlyAfterTheSplash();
    void badDatabaseFailsAfterTheSplash_data();
    void badDatabaseFailsAfterTheSplash();
    void debugFileOfTheRunningProgram_data();
    void debugFileOfTheRunningProgram();
};

void TestStartup::initTestCase() {
    kb::app::setupAppearance(*qApp);
}

void TestStartup::databaseIsTouchedOnlyAfterTheSplash_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Начать работу") << QStringLiteral("button");
    QTest::newRow("Enter") << QStringLiteral("enter");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("window closed") << QStringLiteral("close");
}

void TestStartup::databaseIsTouchedOnlyAfterTheSplash() {
    QFETCH(QString, how);
    kbtest::TempDatabase db;
    const qint64 position = db.addDolznost(QStringLiteral("Бухгалтер"));
    db.addSotr(QStringLiteral("Иванова Мария Петровна"), position);
    db.closeConnection();
    kbtest::CurrentDir here(db.dir());
    ScopedScriptedDialogs dialogs;
    DuringSplash seen;
    scriptSplash(*dialogs, seen, db.path(), how);

    // Once the main window is up: what is shown, then close the main window
    // the way the user does, and note the order things are destroyed in.
    bool windowShown = false;
    bool dataModuleLoaded = false;
    bool databaseOpenWhileRunning = false;
    QStringList destroyed;
    QTimer poll;
    connect(&poll, &QTimer::timeout, qApp, [&] {
        TFormMain* window = mainWindow();
        if (window == nullptr || !window->isVisible())
            return;
        poll.stop();
        windowShown = true;
        dataModuleLoaded = DataM != nullptr && DataM->ADOTableSotr != nullptr;
        databaseOpenWhileRunning = fileIsOpen(db.path());
        if (DataM)
            connect(DataM, &QObject::destroyed, [&destroyed] { destroyed << QStringLiteral("data module"); });
        connect(window, &QObject::destroyed, [&destroyed] { destroyed << QStringLiteral("main window"); });
        window->close();
    });
    poll.start(5);
    Watchdog watchdog;

    const int exitCode = kb::app::runMainWindow(*qApp);

    QVERIFY(!watchdog.fired);
    QCOMPARE(exitCode, 0);
    QVERIFY2(dialogs->failures().isEmpty(), qPrintable(dialogs->failures().join(u'\n')));
    QVERIFY(seen.scripted);
    QVERIFY(seen.splashIsTFormZ);
    QVERIFY(!seen.dataModuleExists);
    QVERIFY(!seen.databaseOpen);
    QVERIFY(!seen.databaseChanged);
    QVERIFY(seen.mainWindowBuilt);
    QVERIFY(!seen.mainWindowVisible);
    QVERIFY(windowShown);
    QVERIFY(dataModuleLoaded);
    QVERIFY(databaseOpenWhileRunning);
    QCOMPARE(destroyed, (QStringList{QStringLiteral("data module"), QStringLiteral("main window")}));
    QVERIFY(DataM == nullptr);
    QVERIFY(mainWindow() == nullptr);
    QVERIFY(!fileIsOpen(db.path()));
    // The splash screen was the only question asked.
    QCOMPARE(dialogs->calls().size(), size_t(1));
}

void TestStartup::badDatabaseFailsAfterTheSplash_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("messagePart");

    QTest::newRow("file missing") << QStringLiteral("missing") << QStringLiteral("BAZA.mdb");
    QTest::newRow("not a database") << QStringLiteral("garbage") << QStringLiteral("BAZA.mdb");
    QTest::newRow("no tables") << QStringLiteral("empty") << QString();
    QTest::newRow("one table missing") << QStringLiteral("no OtrChas") << QStringLiteral("OtrChas");
}

void TestStartup::badDatabaseFailsAfterTheSplash() {
    QFETCH(QString, fault);
    QFETCH(QString, messagePart);
    kbtest::TempDatabase db(fault == u"empty" ? kbtest::TempDatabase::Content::Empty
                                              : kbtest::TempDatabase::Content::Schema);
    if (fault == u"no OtrChas")
        db.exec(QStringLiteral("DROP TABLE OtrChas"));
    db.closeConnection();
    if (fault == u"missing" || fault == u"garbage")
        QVERIFY(QFile::remove(db.path()));
    if (fault == u"garbage") {
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    kbtest::CurrentDir here(db.dir());
    ScopedScriptedDialogs dialogs;
    DuringSplash seen;
    scriptSplash(*dialogs, seen, db.path(), QStringLiteral("button"));
    dialogs->expectErrorBox();

    const int exitCode = kb::app::startApplication(*qApp);

    QCOMPARE(exitCode, 1);
    QVERIFY2(dialogs->failures().isEmpty(), qPrintable(dialogs->failures().join(u'\n')));
    // The splash first, the report only after it.
    QCOMPARE(dialogs->calls().size(), size_t(2));
    QCOMPARE(dialogs->calls()[0].kind, Kind::ExecDialog);
    QCOMPARE(dialogs->calls()[1].kind, Kind::ErrorBox);
    QVERIFY(!seen.dataModuleExists);
    const auto& report = dialogs->calls()[1];
    QCOMPARE(report.caption, QStringLiteral("Application Error"));
    const QRegularExpression format(
        QStringLiteral("^Exception DbError in module tst_startup at 0x[0-9a-f]+\\.\\r\\n(.+)\\r\\n$"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto match = format.match(report.text);
    QVERIFY2(match.hasMatch(), qPrintable(report.text));
    QVERIFY2(match.captured(1).contains(messagePart), qPrintable(report.text));
    // The database layer's messages end in a letter or a digit: the full stop is the report's.
    QVERIFY2(match.captured(1).endsWith(u'.') && !match.captured(1).endsWith(QStringLiteral("..")),
             qPrintable(report.text));
    // No window is left behind, and the file was never created.
    QVERIFY(mainWindow() == nullptr);
    QVERIFY(DataM == nullptr);
    if (fault == u"missing")
        QVERIFY(!QFile::exists(db.path()));
}

void TestStartup::debugFileOfTheRunningProgram_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no debug file yet") << QByteArray();
    QTest::newRow("debug file with content") << QByteArray("осталось с прошлого раза\r\n");
}

void TestStartup::debugFileOfTheRunningProgram() {
    QFETCH(QByteArray, before);
    // This program's file, tst_startup, has no extension: ".debug" is appended.
    const QString expected = QCoreApplication::applicationFilePath() + QStringLiteral(".debug");
    QFile::remove(expected);
    if (!before.isNull()) {
        QFile file(expected);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }

    QCOMPARE(kb::app::createProgramDebugFile(), expected);

    QVERIFY(QFileInfo(expected).isFile());
    QCOMPARE(QFileInfo(expected).size(), 0);
    QFile::remove(expected);
}

int main(int argc, char** argv) {
    kb::app::KultbuhApplication application(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
