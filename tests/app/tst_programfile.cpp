// What the program derives from its own file (the application title, the debug file) and its last-chance report of a
// failure outside the event loop.

#include "ApplicationTitle.h"
#include "CapturedStandardError.h"
#include "DebugFile.h"
#include "ErrorText.h"
#include "LastChanceReport.h"
#include "ScriptedModalDialogs.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <sys/stat.h>

using namespace kb::app;
using namespace kbtest;
using namespace Qt::StringLiterals;

namespace {
// What the stand-in check says of every folder: 0 (writable) or an errno value.
int folderError = 0;
const auto standInAccessError = [](const QString&) { return folderError; };
} // namespace

class TestProgramFile : public QObject {
    Q_OBJECT
private slots:
    // The title ends at the name's first dot and has only its first letter capital; the debug file replaces the last
    // extension of the name (never a dot of the folder).
    void derivedNames_data() {
        columns<QString, QString, QString>("program", "title", "debugFile");
        row("two dots, Cyrillic upper case", u"/opt/КУЛЬТ.БУХ.EXE"_s, u"Культ"_s, u"/opt/КУЛЬТ.БУХ.debug"_s);
        row("dot in the folder only", u"/a.b/Prog"_s, u"Prog"_s, u"/a.b/Prog.debug"_s);
    }
    void derivedNames() {
        const auto [program, title, debugFile] = fetch<QString, QString, QString>("program", "title", "debugFile");
        QCOMPARE(applicationTitleFor(program), title);
        QCOMPARE(debugFileName(program), debugFile);
    }

    // The file's place: beside the program when its folder is writable (a file left there with content is emptied,
    // a failure there is reported as it is, a pipe at once instead of waiting for a reader), else in the state folder,
    // made as needed; when that fails too, the report names the file beside the program with the reason its folder
    // cannot be written.
    void debugFilePlace_data() {
        // blocker: a file, a folder (ending in "/") or a pipe (ending in "|") in the way
        columns<int, QString, QString, QString>("folderError", "blocker", "created", "reason");
        row("writable program folder", 0, QString(), u"bin/kultbuh.debug"_s, QString());
        row("read-only program folder", int(EROFS), QString(), u"state/kultbuh/kultbuh.debug"_s, QString());
        row("state folder blocked too", int(EACCES), u"state"_s, QString(), u"Отказано в доступе"_s);
        row("name beside taken by a folder", 0, u"bin/kultbuh.debug/"_s, QString(), u"Это имя занято папкой"_s);
        row("name beside taken by a pipe", 0, u"bin/kultbuh.debug|"_s, QString(), u"Системная ошибка 6 "_s);
    }
    void debugFilePlace() {
        const auto [error, blocker, created, reason] =
            fetch<int, QString, QString, QString>("folderError", "blocker", "created", "reason");
        QTemporaryDir dir;
        const QDir root(dir.path());
        QVERIFY(root.mkdir(u"bin"_s));
        const QString program = root.filePath(u"bin/kultbuh"_s), state = root.filePath(u"state/kultbuh"_s);
        if (blocker.endsWith(u'/'))
            QVERIFY(root.mkdir(blocker));
        else if (blocker.endsWith(u'|'))
            QCOMPARE(::mkfifo(QFile::encodeName(root.filePath(blocker.chopped(1))).constData(), 0600), 0);
        else
            QVERIFY(writeFile(root.filePath(blocker.isEmpty() ? u"bin/kultbuh.debug"_s : blocker), "старые строки"));
        folderError = error;
        if (created.isEmpty()) {
            const QString message =
                kbtest::errorMessage([&] { createDebugFileFor(program, state, standInAccessError); });
            QVERIFY2(message.startsWith(u"Не удаётся создать файл \"%1.debug\". %2"_s.arg(program, reason)),
                     qPrintable(message));
            return;
        }
        QCOMPARE(createDebugFileFor(program, state, standInAccessError), root.filePath(created));
        QCOMPARE(QFileInfo(root.filePath(created)).size(), 0);
        QCOMPARE(root.exists(u"state"_s), created.startsWith(u"state"_s));
    }

    // The full stop of an error box's text: added after any character that sorts after "." (as the error boxes of
    // the main window's test show), never after "." or one that sorts before it.
    void fullStop_data() {
        columns<QString, QString>("message", "shown");
        row("full stop", u"Готово."_s, u"Готово."_s);
        row("hyphen, just before the full stop", u"a-"_s, u"a-"_s);
        row("empty", QString(), QString());
    }
    void fullStop() {
        const auto [message, shown] = fetch<QString, QString>("message", "shown");
        QCOMPARE(kb::ui::withFullStop(message), shown);
    }

    // A failure that is no standard exception: its type as the kind, no message ("at" the error's address). A
    // standard one's kind and message are shown by the report below and the start-up test.
    void textOfAnotherThrow() {
        QString text = lastChanceText(describeError(std::make_exception_ptr(42)), u"kultbuh"_s);
        QCOMPARE(text.replace(QRegularExpression(u" at 0x[0-9a-f]+\\."_s), u" at 0xADDRESS."_s),
                 u"Exception int in module kultbuh at 0xADDRESS.\r\n\r\n"_s);
    }

    // A failure before the application object exists (the debug file's): a minimal one shows the box, and the same text
    // goes to standard error.
    void reportBeforeTheApplication() {
        kbtest::ScopedScriptedDialogs dialogs;
        dialogs->expectErrorBox();
        kbtest::CapturedStandardError captured;
        QCOMPARE(reportLastChance(std::make_exception_ptr(FileError("Не удаётся создать файл"))), 1);
        const QString written = QString::fromUtf8(captured.text());
        QCOMPARE(dialogs->calls().size(), size_t(1));
        QCOMPARE(dialogs->calls()[0].caption + u'|' + dialogs->calls()[0].text, u"Application Error|"_s + written);
        QVERIFY2(written.startsWith(u"Exception FileError in module tst_programfile at "_s), qPrintable(written));
        QVERIFY(!QCoreApplication::instance());
    }
};

QTEST_APPLESS_MAIN(TestProgramFile)
#include "tst_programfile.moc"
