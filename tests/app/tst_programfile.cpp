// What the program derives from its own file: the application title and the debug file.

#include "ApplicationTitle.h"
#include "DebugFile.h"
#include "Startup.h"
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
    void derivedNames_data() {
        columns<QString, QString, QString>("program", "title", "debugFile");
        row("extensions", u"/opt/My.Prog.bin"_s, u"My"_s, u"/opt/My.Prog.debug"_s);
        row("Cyrillic upper case", u"/opt/КУЛЬТБУХ.EXE"_s, u"Культбух"_s, u"/opt/КУЛЬТБУХ.debug"_s);
        row("dot in the folder only", u"/a.b/Prog"_s, u"Prog"_s, u"/a.b/Prog.debug"_s);
        row("name starting with a dot", u"/opt/.prog"_s, QString(), u"/opt/.debug"_s);
    }
    void derivedNames() {
        const auto [program, title, debugFile] = fetch<QString, QString, QString>("program", "title", "debugFile");
        QCOMPARE(kb::app::applicationTitleFor(program), title);
        QCOMPARE(kb::app::debugFileName(program), debugFile);
    }

    // The running program's debug file (its title captions the error boxes of every widget test): this program's file
    // has no extension, ".debug" is appended, and a file left with content is emptied.
    void runningProgram() {
        QFile file(QCoreApplication::applicationFilePath() + u".debug"_s);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("старые строки\r\n") > 0 && file.flush());

        QCOMPARE(kb::app::createProgramDebugFile(), file.fileName());

        QCOMPARE(file.size(), 0);
        QVERIFY(file.remove());
    }

    // Each reason a debug file cannot be created has its own message; a pipe fails at once instead of waiting for a
    // reader.
    void debugFileCannotBeCreated_data() {
        columns<QString, QString>("path", "reason");
        row("name taken by a folder", u"folder"_s, u"Это имя занято папкой"_s);
        row("folder missing", u"нет/kultbuh.debug"_s, u"Папка не существует"_s);
        row("name taken by a pipe", u"pipe"_s, QString());
    }
    void debugFileCannotBeCreated() {
        const auto [path, reason] = fetch<QString, QString>("path", "reason");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s) && QFile(dir.filePath(u"file"_s)).open(QIODevice::WriteOnly));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"pipe"_s)).constData(), 0600), 0);
        const QString name = dir.filePath(path);

        const QString message = kbtest::errorMessage([&] { kb::app::CreateDebugFile(name); });

        QVERIFY2(message.startsWith(u"Не удаётся создать файл \"%1\". "_s.arg(name)) && message.endsWith(reason),
                 qPrintable(message));
    }

    // The file's place: beside the program when its folder is writable (a failure there is reported as it is),
    // else in the state folder, made as needed; when that fails too, the report names the file beside the program
    // with the reason its folder cannot be written.
    void debugFilePlace_data() {
        columns<int, QString, QString, QString>("folderError", "blocker", "created", "reason");
        row("writable program folder", 0, QString(), u"bin/kultbuh.debug"_s, QString());
        row("read-only program folder", int(EROFS), QString(), u"state/kultbuh/kultbuh.debug"_s, QString());
        row("state folder blocked too", int(EACCES), u"state"_s, QString(), u"Отказано в доступе"_s);
        row("name beside taken by a folder", 0, u"bin/kultbuh.debug/"_s, QString(), u"Это имя занято папкой"_s);
    }
    void debugFilePlace() {
        const auto [error, blocker, created, reason] =
            fetch<int, QString, QString, QString>("folderError", "blocker", "created", "reason");
        QTemporaryDir dir;
        const QDir root(dir.path());
        QVERIFY(root.mkdir(u"bin"_s));
        if (blocker.endsWith(u'/'))
            QVERIFY(root.mkdir(blocker));
        else if (!blocker.isEmpty())
            QVERIFY(QFile(root.filePath(blocker)).open(QIODevice::WriteOnly));
        folderError = error;
        const QString program = root.filePath(u"bin/kultbuh"_s);
        const QString state = root.filePath(u"state/kultbuh"_s);

        if (created.isEmpty()) {
            const QString message =
                kbtest::errorMessage([&] { kb::app::createDebugFileFor(program, state, standInAccessError); });
            QCOMPARE(message, u"Не удаётся создать файл \"%1.debug\". %2"_s.arg(program, reason));
            return;
        }
        QCOMPARE(kb::app::createDebugFileFor(program, state, standInAccessError), root.filePath(created));
        QCOMPARE(QFileInfo(root.filePath(created)).size(), 0);
        QCOMPARE(root.exists(u"state"_s), created.startsWith(u"state"_s));
    }

    void stateFolder_data() {
        columns<QByteArray, QString>("stateHome", "folder");
        row("XDG_STATE_HOME", QByteArray("/var/x/state"), u"/var/x/state/kultbuh"_s);
        row("unset", QByteArray(), u"/home/u/.local/state/kultbuh"_s);
        row("relative, so ignored", QByteArray("state"), u"/home/u/.local/state/kultbuh"_s);
    }
    void stateFolder() {
        const auto [stateHome, folder] = fetch<QByteArray, QString>("stateHome", "folder");
        const QByteArray oldHome = qgetenv("HOME"), oldState = qgetenv("XDG_STATE_HOME");
        qputenv("HOME", "/home/u");
        stateHome.isNull() ? void(qunsetenv("XDG_STATE_HOME")) : void(qputenv("XDG_STATE_HOME", stateHome));
        const QString result = kb::app::stateDebugFolder();
        qputenv("HOME", oldHome);
        qputenv("XDG_STATE_HOME", oldState);
        QCOMPARE(result, folder);
    }
};

QTEST_GUILESS_MAIN(TestProgramFile)
#include "tst_programfile.moc"
