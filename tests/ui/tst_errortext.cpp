#include "ErrorText.h"

#include <QTest>

using kb::ui::withFullStop;

class TestErrorText : public QObject {
    Q_OBJECT
private slots:
    void fullStop_data();
    void fullStop();
};

void TestErrorText::fullStop_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("Cyrillic letter") << QStringLiteral("Файл не найден") << QStringLiteral("Файл не найден.");
    QTest::newRow("Latin letter") << QStringLiteral("no such table: Sotr") << QStringLiteral("no such table: Sotr.");
    QTest::newRow("digit") << QStringLiteral("Ошибка 5") << QStringLiteral("Ошибка 5.");
    QTest::newRow("full stop") << QStringLiteral("Готово.") << QStringLiteral("Готово.");
    QTest::newRow("exclamation mark") << QStringLiteral("Стоп!") << QStringLiteral("Стоп!");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("closing quote") << QStringLiteral("Файл \"a.txt\"") << QStringLiteral("Файл \"a.txt\"");
    QTest::newRow("closing parenthesis") << QStringLiteral("значение (пусто)") << QStringLiteral("значение (пусто)");
    QTest::newRow("comma") << QStringLiteral("a,") << QStringLiteral("a,");
    QTest::newRow("hyphen, just before the full stop") << QStringLiteral("a-") << QStringLiteral("a-");
    QTest::newRow("slash, just after the full stop") << QStringLiteral("a/") << QStringLiteral("a/.");
    QTest::newRow("colon") << QStringLiteral("Причина:") << QStringLiteral("Причина:.");
    QTest::newRow("question mark sorts after it") << QStringLiteral("Что?") << QStringLiteral("Что?.");
    QTest::newRow("trailing blank") << QStringLiteral("Ошибка ") << QStringLiteral("Ошибка ");
    QTest::newRow("line end") << QStringLiteral("Ошибка\r\n") << QStringLiteral("Ошибка\r\n");
    QTest::newRow("closing guillemet") << QStringLiteral("«BAZA.mdb»") << QStringLiteral("«BAZA.mdb».");
    QTest::newRow("single full stop") << QStringLiteral(".") << QStringLiteral(".");
    QTest::newRow("single letter") << QStringLiteral("x") << QStringLiteral("x.");
}

void TestErrorText::fullStop() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(withFullStop(message), shown);
}

QTEST_APPLESS_MAIN(TestErrorText)
#include "tst_errortext.moc"
