#include "ErrorText.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The full stop of an error box's text: added after any character that
// sorts after ".", never after "." or one that sorts before it.
class TestErrorText : public QObject {
    Q_OBJECT
private slots:
    void fullStop_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Cyrillic letter") << u"Файл не найден"_s << u"Файл не найден."_s;
        QTest::newRow("digit") << u"Ошибка 5"_s << u"Ошибка 5."_s;
        QTest::newRow("full stop") << u"Готово."_s << u"Готово."_s;
        QTest::newRow("exclamation mark") << u"Стоп!"_s << u"Стоп!"_s;
        QTest::newRow("hyphen, just before the full stop") << u"a-"_s << u"a-"_s;
        QTest::newRow("slash, just after the full stop") << u"a/"_s << u"a/."_s;
        QTest::newRow("line end") << u"Ошибка\r\n"_s << u"Ошибка\r\n"_s;
        QTest::newRow("closing guillemet") << u"«BAZA.mdb»"_s << u"«BAZA.mdb»."_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void fullStop() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(kb::ui::withFullStop(message), shown);
    }
};

QTEST_APPLESS_MAIN(TestErrorText)
#include "tst_errortext.moc"
