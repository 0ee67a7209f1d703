#include "ApplicationTitle.h"

#include <QTest>

using kb::app::applicationTitle;
using kb::app::applicationTitleFor;

class TestApplicationTitle : public QObject {
    Q_OBJECT
private slots:
    void title_data();
    void title();
    void runningProgram();
};

void TestApplicationTitle::title_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("title");

    QTest::newRow("lower case name") << QStringLiteral("/usr/bin/kultbuh") << QStringLiteral("kultbuh");
    QTest::newRow("from the first dot on removed") << QStringLiteral("/opt/My.Prog.bin") << QStringLiteral("My");
    QTest::newRow("upper case name") << QStringLiteral("/opt/KULTBUH") << QStringLiteral("Kultbuh");
    QTest::newRow("mixed case") << QStringLiteral("/opt/kUlTbUh.exe") << QStringLiteral("kultbuh");
    QTest::newRow("dot in the folder only") << QStringLiteral("/a.b/Prog") << QStringLiteral("Prog");
    QTest::newRow("Cyrillic upper case") << QStringLiteral("/opt/КУЛЬТБУХ.EXE") << QStringLiteral("Культбух");
    QTest::newRow("no folder") << QStringLiteral("Prog.exe") << QStringLiteral("Prog");
    QTest::newRow("name starting with a dot") << QStringLiteral("/opt/.prog") << QString();
    QTest::newRow("one letter") << QStringLiteral("/opt/k.x") << QStringLiteral("k");
}

void TestApplicationTitle::title() {
    QFETCH(QString, program);
    QFETCH(QString, title);
    QCOMPARE(applicationTitleFor(program), title);
}

void TestApplicationTitle::runningProgram() {
    // This test program's own file is tst_applicationtitle.
    QCOMPARE(applicationTitle(), QStringLiteral("tst_applicationtitle"));
}

QTEST_APPLESS_MAIN(TestApplicationTitle)
#include "tst_applicationtitle.moc"
