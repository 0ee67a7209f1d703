// Stored date-time forms; the text forms of values, conversions of typed text, the edit masks of the record editors.
#include "DateTimeText.h"
#include "EditMask.h"
#include "TestRows.h"
#include "TestSupport.h"
#include "ValueText.h"

#include <stdexcept>

using namespace Qt::StringLiterals;
using kb::sql::Value;
using kb::sql::datetime::make;
using namespace kbtest;
namespace dt = kb::sql::datetime;
namespace text = kb::text;

namespace {
const QString kDate = u"!99/99/00;1;_"_s;
const QString kPhone = u"!\\(999\\)000-0000;1;_"_s;
const QString kPassport = u"0000 000000;1;_"_s;
const QString kInn = u"000000000000"_s;
const QString kRefused = u"Invalid input value.  Use escape key to abandon changes"_s;
} // namespace

class TestValueText : public QObject {
    Q_OBJECT
private slots:
    // Texts read as date-times in UTC (invalid: refused): the stored ISO form, stored again, and what the user types.
    void dates_data() {
        columns<bool, QString, QDateTime, QString>("iso", "text", "expected", "stored");
        row("iso: full", true, "2013-04-15 13:45:07", make(2013, 4, 15, 13, 45, 7), "2013-04-15 13:45:07");
        row("iso: date only is midnight", true, "1985-05-12", make(1985, 5, 12), "1985-05-12 00:00:00");
        row("iso: fraction dropped when stored", true, "2013-04-01 08:00:00.750",
            QDateTime(QDate(2013, 4, 1), QTime(8, 0, 0, 750), Qt::UTC), "2013-04-01 08:00:00");
        for (const char* refused : {"", "15.04.2013", "2013-02-29", "2013-04-01 24:00:00"})
            row(refused[0] ? refused : "empty", true, refused, QDateTime(), "");
        row("typed: slashes, one digit", false, "5/4/13", make(2013, 4, 5), "");
        row("typed: mask blanks", false, " 5. 4.13", make(2013, 4, 5), "");
        row("typed: window end 2029", false, "31.12.29", make(2029, 12, 31), "");
        row("typed: time with seconds", false, "05.04.2013 9:05:07", make(2013, 4, 5, 9, 5, 7), "");
        row("typed: 29 February, no leap year", false, "29.02.2013", QDateTime(), "");
        row("typed: empty mask", false, "  .  .  ", QDateTime(), "");
        row("typed: blank inside a number", false, "0 5.04.2013", QDateTime(), "");
    }
    void dates() {
        const auto [iso, text, expected, stored] =
            fetch<bool, QString, QDateTime, QString>("iso", "text", "expected", "stored");
        const auto parsed = iso ? dt::fromIso(text) : text::parseDate(text);
        QCOMPARE(parsed.value_or(QDateTime()), expected);
        if (parsed)
            QCOMPARE(parsed->timeSpec(), Qt::UTC);
        if (parsed && iso)
            QCOMPARE(dt::toIso(*parsed), stored);
    }

    void display_data() {
        columns<Value, QString>("value", "expected");
        row("null", Value(), "");
        row("binary noise below", Value(1481.3999999999999), "1481,4");
        row("negative zero", Value(-0.0), "0");
        row("large", Value(-1.25e16), "-1,25E16");
        row("midnight shows no time", Value(make(2013, 4, 5)), "05.04.2013");
        row("one second after midnight", Value(make(1985, 12, 31, 0, 0, 1)), "31.12.1985 00:00:01");
        row("invalid date-time", Value(QDateTime()), "");
    }
    void display() {
        const auto [value, expected] = fetch<Value, QString>("value", "expected");
        QCOMPARE(text::display(value), expected);
    }

    // Each text read as an integer (empty: refused) and as a floating-point number (NaN: refused).
    void parseNumber_data() {
        columns<QString, QString, double>("input", "integer", "number");
        const double no = qQNaN();
        row("blanks around", "  25\t", "25", 25.0);
        row("largest", "9223372036854775807", "9223372036854775807", 9223372036854775807.0);
        row("beyond 64 bits", "9223372036854775808", "", 9223372036854775808.0);
        row("comma", "12,5", "", 12.5);
        row("exponent with comma", "1,5E-2", "", 0.015);
        row("beyond double", "1e400", "", no);
        row("thousands", "1 000", "", no);
        row("arabic-indic digit", QString(QChar(0x0663)), "", no);
    }
    void parseNumber() {
        const auto [input, integer, number] = fetch<QString, QString, double>("input", "integer", "number");
        const auto i = text::parseInteger(input);
        QCOMPARE(i ? QString::number(*i) : QString(), integer);
        QCOMPARE(text::parseFloat(input).value_or(qQNaN()), number);
    }

    // The stored value of an edit text, or the refusal's message.
    void toStored_data() {
        columns<QString, QString, QString, bool>("mask", "edit", "stored", "complete");
        row("one-digit day typed first", kDate, "5_.04.13", " 5.04.13", true);
        row("two-digit area code", kPhone, "(12_)345-6789", "( 12)345-6789", true);
        row("trailing blanks without !", "99-99;1;_", "_5-12", "5 -12", true);
        row("nothing entered clears", kDate, "__.__.__", "", false);
        row("year half typed", kDate, "05.04.1_", kRefused, false);
        row("passport, blank typed", kPassport, "1234 56 890", kRefused, false);
        row("letter in a digit position", kDate, "a5.04.13", kRefused, true);
    }
    void toStored() {
        const auto [mask, edit, stored, complete] =
            fetch<QString, QString, QString, bool>("mask", "edit", "stored", "complete");
        const text::EditMask m(mask);
        try {
            QCOMPARE(m.toStored(edit), stored);
        } catch (const std::invalid_argument& e) {
            QCOMPARE(QString::fromUtf8(e.what()), stored);
        }
        QCOMPARE(m.isComplete(edit), complete);
    }

    // The edit text that shows a stored value (none: the mask's empty text); whether the value survives the way back.
    void toEditText_data() {
        columns<QString, QString, QString, bool>("mask", "stored", "edit", "fits");
        row("leading blanks", kDate, " 5. 4.13", "_5._4.13", true);
        row("nothing stored: the empty text", kPhone, "", "(___)___-____", true);
        row("phone, short area code", kPhone, "(12)345-6789", "(_12)345-6789", false);
        row("phone, too long", kPhone, "+7 (912) 345-67-89", "(+7_)(91-2)_3", false);
        row("taxpayer number, short", kInn, "1234", "1234________", false);
        row("foreign character kept visible", kPassport, "12A4 567890", "12A4 567890", false);
        row("literal blank after leading blanks", "!\\(999 \"", "(  4 \"", "(__4 \"", true);
    }
    void toEditText() {
        const auto [mask, stored, edit, fits] =
            fetch<QString, QString, QString, bool>("mask", "stored", "edit", "fits");
        QCOMPARE(text::EditMask(mask).toEditText(stored), edit);
        QCOMPARE(text::EditMask(mask).fits(stored), fits);
    }
};

QTEST_GUILESS_MAIN(TestValueText)
#include "tst_valuetext.moc"
