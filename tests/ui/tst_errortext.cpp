#include "ErrorText.h"
#include "TestRows.h"

using namespace kbtest;
using namespace Qt::StringLiterals;

// The full stop of an error box's text: added after any character that sorts after ".", never after "." or one that
// sorts before it.
class TestErrorText : public QObject {
    Q_OBJECT
private slots:
    void fullStop_data() {
        columns<QString, QString>("message", "shown");
        row("Cyrillic letter", u"Файл не найден"_s, u"Файл не найден."_s);
        row("full stop", u"Готово."_s, u"Готово."_s);
        row("hyphen, just before the full stop", u"a-"_s, u"a-"_s);
        row("slash, just after the full stop", u"a/"_s, u"a/."_s);
        row("line end", u"Ошибка\r\n"_s, u"Ошибка\r\n"_s);
        row("closing guillemet", u"«BAZA.mdb»"_s, u"«BAZA.mdb»."_s);
        row("empty", QString(), QString());
    }
    void fullStop() {
        const auto [message, shown] = fetch<QString, QString>("message", "shown");
        QCOMPARE(kb::ui::withFullStop(message), shown);
    }
};

QTEST_APPLESS_MAIN(TestErrorText)
#include "tst_errortext.moc"
