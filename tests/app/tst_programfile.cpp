// What the program derives from its own file: the application title and the
// debug file.

#include "ApplicationTitle.h"
#include "DebugFile.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestProgramFile : public QObject {
    Q_OBJECT
private slots:
    void derivedNames_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("debugFile");
        QTest::newRow("extensions") << u"/opt/My.Prog.bin"_s << u"My"_s << u"/opt/My.Prog.debug"_s;
        QTest::newRow("upper case") << u"/opt/KULTBUH"_s << u"Kultbuh"_s << u"/opt/KULTBUH.debug"_s;
        QTest::newRow("mixed case") << u"/opt/kUlTbUh.exe"_s << u"kultbuh"_s << u"/opt/kUlTbUh.debug"_s;
        QTest::newRow("Cyrillic upper case") << u"/opt/КУЛЬТБУХ.EXE"_s << u"Культбух"_s << u"/opt/КУЛЬТБУХ.debug"_s;
        QTest::newRow("dot in the folder only") << u"/a.b/Prog"_s << u"Prog"_s << u"/a.b/Prog.debug"_s;
        QTest::newRow("no folder") << u"Prog.exe"_s << u"Prog"_s << u"Prog.debug"_s;
        QTest::newRow("name starting with a dot") << u"/opt/.prog"_s << QString() << u"/opt/.debug"_s;
    }
    void derivedNames() {
        QFETCH(QString, program);
        QFETCH(QString, title);
        QFETCH(QString, debugFile);
        QCOMPARE(kb::app::applicationTitleFor(program), title);
        QCOMPARE(kb::app::debugFileName(program), debugFile);
    }

    // The running program's title (it captions the error boxes), and its
    // debug file: this program's file has no extension, ".debug" is appended,
    // and a file left with content is emptied.
    void runningProgram() {
        QCOMPARE(kb::app::applicationTitle(), u"tst_programfile"_s);
        QFile file(QCoreApplication::applicationFilePath() + u".debug"_s);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("старые строки\r\n") > 0 && file.flush());

        QCOMPARE(kb::app::createProgramDebugFile(), file.fileName());

        QCOMPARE(file.size(), 0);
        QVERIFY(file.remove());
    }

    void debugFileCannotBeCreated_data() {
        QTest::addColumn<QString>("obstacle"); // made under the name "x"
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("name taken by a folder") << u"folder"_s << u"x"_s << u"Это имя занято папкой"_s;
        QTest::newRow("folder missing") << QString() << u"нет/kultbuh.debug"_s << u"Папка не существует"_s;
        QTest::newRow("file in the path") << u"file"_s << u"x/kultbuh.debug"_s << u"Часть пути не является папкой"_s;
        // Opening a pipe for writing waits for a reader; it must fail instead.
        QTest::newRow("name taken by a pipe") << u"pipe"_s << u"x"_s << QString();
    }
    void debugFileCannotBeCreated() {
        QFETCH(QString, obstacle);
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString x = dir.filePath(u"x"_s);
        if (obstacle == u"folder")
            QVERIFY(QDir().mkdir(x));
        else if (obstacle == u"file")
            QVERIFY(QFile(x).open(QIODevice::WriteOnly));
        else if (obstacle == u"pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(x).constData(), 0600), 0);
        const QString name = dir.filePath(path);

        const QString message = kbtest::errorMessage([&] { kb::app::CreateDebugFile(name); });

        QVERIFY2(message.startsWith(u"Не удаётся создать файл \"%1\". "_s.arg(name)) && message.endsWith(reason),
                 qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TestProgramFile)
#include "tst_programfile.moc"
