// What the program derives from its own file: the application title and the debug file.

#include "ApplicationTitle.h"
#include "DebugFile.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <sys/stat.h>

using namespace kbtest;
using namespace Qt::StringLiterals;

namespace {
// What the stand-in check says of every folder: 0 (writable) or an errno value.
int folderError = 0;
int standInAccessError(const QString&) {
    return folderError;
}
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
        row("name starting with a dot", u"/opt/.prog"_s, QString(), u"/opt/.debug"_s);
    }
    void derivedNames() {
        const auto [program, title, debugFile] = fetch<QString, QString, QString>("program", "title", "debugFile");
        QCOMPARE(kb::app::applicationTitleFor(program), title);
        QCOMPARE(kb::app::debugFileName(program), debugFile);
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
                kbtest::errorMessage([&] { kb::app::createDebugFileFor(program, state, standInAccessError); });
            QVERIFY2(message.startsWith(u"Не удаётся создать файл \"%1.debug\". %2"_s.arg(program, reason)),
                     qPrintable(message));
            return;
        }
        QCOMPARE(kb::app::createDebugFileFor(program, state, standInAccessError), root.filePath(created));
        QCOMPARE(QFileInfo(root.filePath(created)).size(), 0);
        QCOMPARE(root.exists(u"state"_s), created.startsWith(u"state"_s));
    }

    // XDG_STATE_HOME when it is an absolute path, else the home folder's .local/state.
    void stateFolder_data() {
        columns<QByteArray, QString>("stateHome", "folder");
        row("XDG_STATE_HOME", QByteArray("/var/x/state"), u"/var/x/state/kultbuh"_s);
        row("relative, so ignored", QByteArray("state"), u"/home/u/.local/state/kultbuh"_s);
    }
    void stateFolder() {
        const auto [stateHome, folder] = fetch<QByteArray, QString>("stateHome", "folder");
        const QByteArray oldHome = qgetenv("HOME"), oldState = qgetenv("XDG_STATE_HOME");
        qputenv("HOME", "/home/u");
        qputenv("XDG_STATE_HOME", stateHome);
        const QString result = kb::app::stateDebugFolder();
        qputenv("HOME", oldHome);
        qputenv("XDG_STATE_HOME", oldState);
        QCOMPARE(result, folder);
    }
};

QTEST_GUILESS_MAIN(TestProgramFile)
#include "tst_programfile.moc"
