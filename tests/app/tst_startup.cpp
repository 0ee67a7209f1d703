#include "AppearanceSetup.h"
#include "CapturedStandardError.h"
#include "DataModule.h"
#include "DataSource.h"
#include "ResultGrid.h"
#include "ScriptedModalDialogs.h"
#include "ShellTestMain.h"
#include "Startup.h"
#include "TFormMain.h"
#include "TFormZ.h"
#include "Table.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

using namespace kbtest;
using namespace Qt::StringLiterals;
using kb::app::TFormMain;
using kb::app::TFormZ;

namespace {

// Whether this process has the file open.
bool fileIsOpen(const QString& path) {
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return false;
    const QDir fds(u"/proc/self/fd"_s);
    for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)) {
        if (QFileInfo(fds.filePath(fd)).symLinkTarget() == wanted)
            return true;
    }
    return false;
}

TFormMain* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<TFormMain*>(widget))
            return window;
    }
    return nullptr;
}

// The data module the main window works on, reached through the data source its grid shows.
kb::TDataM* dataModule() {
    const kb::DataSource* source = mainWindow() ? mainWindow()->resultGrid->dataSource() : nullptr;
    return source ? qobject_cast<kb::TDataM*>(source->parent()) : nullptr;
}

// Scripts the splash screen: notes what start-up has done while it is up, then ends it with the key.
void scriptSplash(kbtest::ScriptedModalDialogs& dialogs, QStringList& seen, const QString& database, Qt::Key key) {
    dialogs.scriptDialogAction([&seen, database, key](QDialog& splash) {
        if (dataModule() || fileIsOpen(database))
            seen << u"database touched during the splash"_s;
        if (!mainWindow() || mainWindow()->isVisible())
            seen << u"main window not built, or shown, during the splash"_s;
        QApplication::setActiveWindow(&splash);
        if (QTest::qWaitForWindowActive(&splash))
            QTest::keyClick(QApplication::focusWidget(), key);
    });
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        kb::app::setupAppearance(*qApp);
        // A second run changes nothing (fonts are registered once).
        kb::app::setupAppearance(*qApp);
    }

    // Only the button takes the keyboard focus, so Enter and Space press it even after Tab; Escape and closing end the
    // splash too, and it is gone when its showing returns.
    void everyWayOfClosingEndsIt_data() {
        // keys: empty: the button is clicked
        columns<QList<int>, int>("keys", "result");
        row("click on the button", QList<int>{}, 1);
        row("Tab, then Space", QList<int>{Qt::Key_Tab, Qt::Key_Space}, 1);
        row("Escape", QList<int>{Qt::Key_Escape}, 0);
        row("window closed", QList<int>{Qt::Key_unknown}, 0);
    }
    void everyWayOfClosingEndsIt() {
        const auto [keys, result] = fetch<QList<int>, int>("keys", "result");
        kbtest::ScopedScriptedDialogs dialogs;
        QPointer<QDialog> shown;
        int ended = -1;
        dialogs->scriptDialog([&](QDialog& dialog) {
            shown = &dialog;
            QApplication::setActiveWindow(&dialog);
            if (!QTest::qWaitForWindowActive(&dialog))
                return -1;
            if (keys.isEmpty())
                QTest::mouseClick(static_cast<TFormZ&>(dialog).startButton, Qt::LeftButton);
            for (const int key : keys) {
                if (key == Qt::Key_unknown)
                    dialog.close();
                else
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            }
            // A modal showing ends when the window is hidden.
            ended = dialog.isVisible() ? -1 : dialog.result();
            return ended;
        });

        kb::app::runSplashScreen();

        QCOMPARE(ended, result);
        QVERIFY(shown.isNull());
        QCOMPARE(dialogs->calls().size(), size_t(1));
        QCOMPARE(dialogs->calls()[0].caption, u"Заставка"_s);
        QCOMPARE(dialogs->calls()[0].text, u"kb::app::TFormZ"_s);
    }

    // The main window is built, hidden, with the splash screen up; the database is touched only once the splash has
    // gone, however it ended. Then the main window is shown, and at the end the data module goes first. A database that
    // cannot be loaded is reported after the splash in the "Application Error" box, the same text on standard error,
    // and the program ends with 1, leaving no window behind and the folder as it was.
    void startUp_data() {
        // fault: "missing", "damaged" (the second page), or a statement that breaks the schema; message null: the
        // program runs. Each way opening fails has its message pinned by the connection's test; here what start-up
        // does with one.
        columns<QString, QString>("fault", "message");
        row("Начать работу", QString(), QString());
        row("file missing", u"missing"_s, u"Файл базы данных не найден: "_s);
        row("damaged page", u"damaged"_s, u"BAZA.mdb повреждён"_s);
    }
    void startUp() {
        const auto [fault, message] = fetch<QString, QString>("fault", "message");
        kbtest::TempDatabase db;
        db.addSotr(u"Иванова Мария Петровна"_s, db.addDolznost(u"Бухгалтер"_s));
        if (fault.contains(u' '))
            db.exec(fault);
        db.closeConnection();
        QFile file(db.path());
        if (fault == u"missing")
            QVERIFY(file.remove());
        if (fault == u"damaged")
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096) && file.write(QByteArray(4096, 'x')) == 4096);
        file.close();
        const QString before = kbtest::folderState(db.path());
        kbtest::CurrentDir here(db.dir());
        kbtest::ScopedScriptedDialogs dialogs;
        QStringList seen;
        scriptSplash(*dialogs, seen, db.path(), Qt::Key_Return);
        if (!message.isNull())
            dialogs->expectErrorBox();
        // Once the main window is up: what is there, then "Выход".
        QTimer poll;
        connect(&poll, &QTimer::timeout, qApp, [&] {
            TFormMain* window = mainWindow();
            if (!window || !window->isVisible())
                return;
            poll.stop();
            if (dataModule() && dataModule()->staffTable->isActive() && fileIsOpen(db.path()))
                seen << u"shown, database open"_s;
            connect(dataModule(), &QObject::destroyed, [&seen] { seen << u"data module destroyed"_s; });
            connect(window, &QObject::destroyed, [&seen] { seen << u"main window destroyed"_s; });
            window->exitAction->trigger();
        });
        poll.start(5);
        QTimer watchdog; // ends the event loop should the program not end
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(30000);
        kbtest::CapturedStandardError captured;

        const int exitCode = kb::app::startApplication(*qApp);

        const QString written = QString::fromUtf8(captured.text());
        QVERIFY(!mainWindow() && !fileIsOpen(db.path()));
        QCOMPARE(dialogs->calls().size(), size_t(message.isNull() ? 1 : 2));
        QCOMPARE(dialogs->calls()[0].text, u"kb::app::TFormZ"_s);
        if (message.isNull()) {
            QCOMPARE(exitCode, 0);
            QCOMPARE(seen,
                     (QStringList{u"shown, database open"_s, u"data module destroyed"_s, u"main window destroyed"_s}));
            return;
        }
        QCOMPARE(exitCode, 1);
        QCOMPARE(seen, QStringList());
        QCOMPARE(dialogs->calls()[1].caption, u"Application Error"_s);
        QCOMPARE(dialogs->calls()[1].text, written);
        const QRegularExpression format(
            u"^Exception DbError in module tst_startup at 0x[0-9a-f]+\\.\\r\\n(.*[^.]\\.)\\r\\n$"_s);
        QVERIFY2(format.match(written).captured(1).contains(message), qPrintable(written));
        // Opening never creates, changes or adds a file.
        QCOMPARE(kbtest::folderState(db.path()), before);
    }
};

KBTEST_SHELL_MAIN(TestStartup)

#include "tst_startup.moc"
