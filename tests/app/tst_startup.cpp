#include "CapturedStandardError.h"
#include "DataModule.h"
#include "DataSource.h"
#include "ResultGrid.h"
#include "ScriptedModalDialogs.h"
#include "ShellTestMain.h"
#include "Startup.h"
#include "TFormMain.h"
#include "Table.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>

using namespace kbtest;
using namespace Qt::StringLiterals;
using kb::app::TFormMain;

namespace {

// Whether this process has the file open.
bool fileIsOpen(const QString& path) {
    const QString wanted = QFileInfo(path).canonicalFilePath();
    const QDir fds(u"/proc/self/fd"_s);
    const QStringList open = fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System);
    return !wanted.isEmpty() && std::ranges::any_of(open, [&](const QString& fd) {
        return QFileInfo(fds.filePath(fd)).symLinkTarget() == wanted;
    });
}

TFormMain* mainWindow() {
    TFormMain* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        found = found ? found : qobject_cast<TFormMain*>(widget);
    return found;
}

// The data module the main window works on, reached through the data source its grid shows.
kb::dataset::TDataM* dataModule() {
    const kb::dataset::DataSource* source = mainWindow() ? mainWindow()->resultGrid->dataSource() : nullptr;
    return source ? qobject_cast<kb::dataset::TDataM*>(source->parent()) : nullptr;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    // The splash screen is ended by its button: Enter presses it, and only the button takes the keyboard focus, so
    // Space presses it after Tab. The main window is built, hidden, with the splash up; the database is touched only
    // once the splash has gone. Then the main window is shown, and at the end the data module goes first. A database
    // that cannot be loaded is reported after the splash in the "Application Error" box, the same text on standard
    // error, and the program ends with 1, leaving no window behind and the folder as it was.
    void startUp_data() {
        columns<QList<int>, QString>("keys", "message"); // message null: the program runs
        row("Tab, Space", QList<int>{Qt::Key_Tab, Qt::Key_Space}, QString());
        row("Enter, file missing", QList<int>{Qt::Key_Return}, u"Файл базы данных не найден: "_s);
    }
    void startUp() {
        const auto [keys, message] = fetch<QList<int>, QString>("keys", "message");
        kbtest::TempDatabase db;
        db.addSotr(u"Иванова Мария Петровна"_s, db.addDolznost(u"Бухгалтер"_s));
        db.closeConnection();
        if (!message.isNull())
            QVERIFY(QFile::remove(db.path()));
        const QString before = kbtest::folderState(db.path());
        kbtest::CurrentDir here(db.dir());
        kbtest::ScopedScriptedDialogs dialogs;
        QStringList seen;
        // The splash: what start-up has done while it is up, then the keys that end it.
        dialogs->scriptDialogAction([&](QDialog& splash) {
            if (dataModule() || fileIsOpen(db.path()))
                seen << u"database touched during the splash"_s;
            if (!mainWindow() || mainWindow()->isVisible())
                seen << u"main window not built, or shown, during the splash"_s;
            QApplication::setActiveWindow(&splash);
            QVERIFY(QTest::qWaitForWindowActive(&splash));
            for (const int key : keys)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            if (splash.isVisible() || splash.result() != QDialog::Accepted)
                seen << u"splash not ended by its button"_s;
        });
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
        kbtest::CapturedStandardError captured;

        const int exitCode = kb::app::startApplication(*qApp);

        const QString written = QString::fromUtf8(captured.text());
        QVERIFY(!mainWindow() && !fileIsOpen(db.path()));
        QCOMPARE(dialogs->calls().size(), size_t(message.isNull() ? 1 : 2));
        QCOMPARE(dialogs->calls()[0].text, u"kb::app::TFormZ"_s);
        const QStringList ran{u"shown, database open"_s, u"data module destroyed"_s, u"main window destroyed"_s};
        QCOMPARE(seen, message.isNull() ? ran : QStringList());
        QCOMPARE(exitCode, message.isNull() ? 0 : 1);
        if (message.isNull())
            return;
        QCOMPARE(dialogs->calls()[1].caption + u'|' + dialogs->calls()[1].text, u"Application Error|"_s + written);
        const QRegularExpression format(
            u"^Exception DbError in module tst_startup at 0x[0-9a-f]+\\.\\r\\n(.*[^.]\\.)\\r\\n$"_s);
        QVERIFY2(format.match(written).captured(1).contains(message), qPrintable(written));
        // Opening never creates, changes or adds a file.
        QCOMPARE(kbtest::folderState(db.path()), before);
    }
};

KBTEST_SHELL_MAIN(TestStartup)

#include "tst_startup.moc"
