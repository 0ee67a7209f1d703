#include "DebugFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using kb::app::CreateDebugFile;
using kb::app::debugFileName;
using kb::app::FileError;

class TestDebugFile : public QObject {
    Q_OBJECT
private slots:
    void name_data();
    void name();
    void createLeavesAnEmptyFile_data();
    void createLeavesAnEmptyFile();
    void createFails_data();
    void createFails();
};

void TestDebugFile::name_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("debug");

    QTest::newRow("extension replaced") << QStringLiteral("/a/prog.exe") << QStringLiteral("/a/prog.debug");
    QTest::newRow("no extension: appended") << QStringLiteral("/a/kultbuh") << QStringLiteral("/a/kultbuh.debug");
    QTest::newRow("only the last extension") << QStringLiteral("/a/My.Prog.bin") << QStringLiteral("/a/My.Prog.debug");
    QTest::newRow("dot in the folder only") << QStringLiteral("/a.b/prog") << QStringLiteral("/a.b/prog.debug");
    QTest::newRow("dots in folder and name")
        << QStringLiteral("/a.b/c.d/prog.x") << QStringLiteral("/a.b/c.d/prog.debug");
    QTest::newRow("name ending in a dot") << QStringLiteral("/a/prog.") << QStringLiteral("/a/prog.debug");
    QTest::newRow("name that is all extension") << QStringLiteral("/a/.prog") << QStringLiteral("/a/.debug");
    QTest::newRow("no folder") << QStringLiteral("prog.exe") << QStringLiteral("prog.debug");
    QTest::newRow("Cyrillic names") << QStringLiteral("/дом/учёт.bin") << QStringLiteral("/дом/учёт.debug");
}

void TestDebugFile::name() {
    QFETCH(QString, program);
    QFETCH(QString, debug);
    QCOMPARE(debugFileName(program), debug);
}

void TestDebugFile::createLeavesAnEmptyFile_data() {
    QTest::addColumn<QByteArray>("before"); // null: no file yet

    QTest::newRow("new file") << QByteArray();
    QTest::newRow("existing empty file") << QByteArray("");
    QTest::newRow("existing file with content") << QByteArray("старые строки\r\nещё строка\r\n");
}

void TestDebugFile::createLeavesAnEmptyFile() {
    QFETCH(QByteArray, before);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("kultbuh.debug"));
    if (!before.isNull()) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(before), before.size());
    }

    CreateDebugFile(name);

    const QFileInfo info(name);
    QVERIFY(info.isFile());
    QCOMPARE(info.size(), 0);
    // Nothing else appears beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{QStringLiteral("kultbuh.debug")});
}

void TestDebugFile::createFails_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("reason");

    QTest::newRow("name taken by a folder") << QStringLiteral("folder") << QStringLiteral("Это имя занято папкой");
    QTest::newRow("folder missing") << QStringLiteral("missing") << QStringLiteral("Папка не существует");
    QTest::newRow("a file where a folder should be")
        << QStringLiteral("file in path") << QStringLiteral("Часть пути не является папкой");
    // Opening a pipe for writing waits for a reader; it must fail instead.
    QTest::newRow("name taken by a pipe") << QStringLiteral("pipe") << QString();
}

void TestDebugFile::createFails() {
    QFETCH(QString, obstacle);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString name = dir.filePath(QStringLiteral("kultbuh.debug"));
    if (obstacle == u"folder") {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("kultbuh.debug")));
    } else if (obstacle == u"missing") {
        name = dir.filePath(QStringLiteral("нет/kultbuh.debug"));
    } else if (obstacle == u"file in path") {
        QFile file(dir.filePath(QStringLiteral("plain")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        name = dir.filePath(QStringLiteral("plain/kultbuh.debug"));
    } else {
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    }

    try {
        CreateDebugFile(name);
        QFAIL("no error");
    } catch (const FileError& error) {
        const QString message = QString::fromUtf8(error.what());
        QVERIFY2(message.startsWith(QStringLiteral("Не удаётся создать файл \"%1\".").arg(name)), qPrintable(message));
        if (!reason.isEmpty())
            QVERIFY2(message.endsWith(reason), qPrintable(message));
    }
}

QTEST_APPLESS_MAIN(TestDebugFile)
#include "tst_debugfile.moc"
