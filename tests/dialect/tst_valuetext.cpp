// Typed values, the stored date-time forms and the declared column types; the default text forms of values and the
// conversions of typed text.

#include "ColumnTypes.h"
#include "DateTimeText.h"
#include "TestRows.h"
#include "TestSupport.h"
#include "ValueText.h"

#include <QTimeZone>
#include <limits>

using kb::FieldType;
using kb::Value;
using kb::datetime::make;
using namespace kbtest;
namespace dt = kb::datetime;
namespace text = kb::text;

class TestValueText : public QObject {
    Q_OBJECT
private slots:
    void iso_data() {
        // expected: invalid: refused
        columns<QString, QDateTime, QString>("text", "expected", "stored");
        row("full", "2013-04-15 13:45:07", make(2013, 4, 15, 13, 45, 7), "2013-04-15 13:45:07");
        row("date only is midnight", "1985-05-12", make(1985, 5, 12), "1985-05-12 00:00:00");
        row("no seconds", "2014-12-31 23:59", make(2014, 12, 31, 23, 59), "2014-12-31 23:59:00");
        row("T separator", "2013-04-01T08:00:00", make(2013, 4, 1, 8), "2013-04-01 08:00:00");
        row("fraction dropped when stored", "2013-04-01 08:00:00.750",
            QDateTime(QDate(2013, 4, 1), QTime(8, 0, 0, 750), Qt::UTC), "2013-04-01 08:00:00");
        row("early year padded", "0100-01-01", make(100, 1, 1), "0100-01-01 00:00:00");
        for (const char* refused : {"", "15.04.2013", "2013-02-29", "2013-04-01 24:00:00", "2013-04-01 10:00:00 x",
                                    "2013-04-01 10:0", "2013-04-01 10:00:00."})
            row(refused[0] ? refused : "empty", refused, QDateTime(), "");
    }
    void iso() {
        const auto [text, expected, stored] = fetch<QString, QDateTime, QString>("text", "expected", "stored");
        const auto parsed = dt::fromIso(text);
        QCOMPARE(parsed.value_or(QDateTime()), expected);
        if (parsed) {
            QCOMPARE(parsed->timeSpec(), Qt::UTC);
            QCOMPARE(dt::toIso(*parsed), stored);
        }
    }

    void dayNumber_data() {
        // expected: invalid: out of range
        columns<double, QDateTime>("days", "expected");
        row("day zero", 0.0, make(1899, 12, 30));
        row("quarter past six in the evening", 41365.76041666666, make(2013, 4, 1, 18, 15));
        row("before day zero counts the fraction forward", -1.25, make(1899, 12, 29, 6));
        row("last second of a day", 41365.0 + 86399.0 / 86400.0, make(2013, 4, 1, 23, 59, 59));
        row("after 9999", 3e6, QDateTime());
        row("not a number", qQNaN(), QDateTime());
    }
    void dayNumber() {
        const auto [days, expected] = fetch<double, QDateTime>("days", "expected");
        QCOMPARE(dt::fromDayNumber(days), expected);
        if (expected.isValid())
            QVERIFY(qAbs(dt::toDayNumber(expected) - days) < 1e-6);
    }

    // A local time in a zone with daylight saving keeps its clock reading; an invalid one is null.
    void dateTimeValue() {
        const Value moscow(QDateTime(QDate(2013, 4, 1), QTime(0, 30), QTimeZone("Europe/Moscow")));
        QCOMPARE(moscow.kind(), Value::Kind::DateTime);
        QCOMPARE(moscow.toDateTime(), make(2013, 4, 1, 0, 30));
        QCOMPARE(moscow, Value(make(2013, 4, 1, 0, 30)));
        QVERIFY(Value(QDateTime()).isNull());
    }

    // A declared type as SQLite reads it (INT before anything else), date-time names added.
    void classify_data() {
        columns<QString, FieldType>("declared", "type");
        row("int lower case", "int", FieldType::Integer);
        row("VARCHAR(255)", "VARCHAR(255)", FieldType::Text);
        row("DOUBLE PRECISION", "DOUBLE PRECISION", FieldType::Float);
        row("DATETIME", "DATETIME", FieldType::DateTime);
        row("none", "", FieldType::Unknown);
    }
    void classify() {
        const auto [declared, type] = fetch<QString, FieldType>("declared", "type");
        QCOMPARE(kb::ColumnTypes::classify(declared), type);
    }

    void display_data() {
        columns<Value, QString>("value", "expected");
        row("null", Value(), "");
        row("64-bit integer", Value(qint64(-9000000000)), "-9000000000");
        row("binary noise below", Value(1481.3999999999999), "1481,4");
        row("binary noise above", Value(1200.0000000000002), "1200");
        row("negative zero", Value(-0.0), "0");
        row("fifteen digits", Value(123456789012345.0), "123456789012345");
        row("large", Value(-1.25e16), "-1,25E16");
        row("small but plain", Value(0.0001), "0,0001");
        row("small", Value(1.5e-7), "1,5E-7");
        row("infinity", Value(std::numeric_limits<double>::infinity()), "INF");
        row("text as is", Value(QStringLiteral(" 25,5 ")), " 25,5 ");
        row("midnight shows no time", Value(make(2013, 4, 5)), "05.04.2013");
        row("one second after midnight", Value(make(1985, 12, 31, 0, 0, 1)), "31.12.1985 00:00:01");
        row("early year", Value(make(100, 1, 1)), "01.01.0100");
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
        row("minus", "-7", "-7", -7.0);
        row("plus", "+7", "7", 7.0);
        row("largest", "9223372036854775807", "9223372036854775807", 9223372036854775807.0);
        row("beyond 64 bits", "9223372036854775808", "", 9223372036854775808.0);
        row("comma", "12,5", "", 12.5);
        row("point", "12.5", "", 12.5);
        row("blanks and sign", " -0,25 ", "", -0.25);
        row("exponent with comma", "1,5E-2", "", 0.015);
        row("no whole part", ",5", "", 0.5);
        row("no fraction", "5.", "", 5.0);
        row("empty", "", "", no);
        row("blank after sign", "- 5", "", no);
        row("exponent without digits", "1e", "", no);
        row("beyond double", "1e400", "", no);
        row("thousands", "1 000", "", no);
        row("infinity word", "inf", "", no);
        row("arabic-indic digit", QString(QChar(0x0663)), "", no);
    }
    void parseNumber() {
        const auto [input, integer, number] = fetch<QString, QString, double>("input", "integer", "number");
        const auto i = text::parseInteger(input);
        QCOMPARE(i ? QString::number(*i) : QString(), integer);
        QCOMPARE(text::parseFloat(input).value_or(qQNaN()), number);
    }

    void parseDate_data() {
        columns<QString, QDateTime>("input", "expected"); // invalid: refused
        row("short year", "05.04.13", make(2013, 4, 5));
        row("full year", "05.04.2013", make(2013, 4, 5));
        row("slashes, one digit", "5/4/13", make(2013, 4, 5));
        row("mask blanks", " 5. 4.13", make(2013, 4, 5));
        row("window end 2029", "31.12.29", make(2029, 12, 31));
        row("window start 1930", "01.01.30", make(1930, 1, 1));
        row("time", "05.04.2013 13:45", make(2013, 4, 5, 13, 45));
        row("time with seconds", "05.04.2013 9:05:07", make(2013, 4, 5, 9, 5, 7));
        row("29 February, no leap year", "29.02.2013", QDateTime());
        row("empty mask", "  .  .  ", QDateTime());
        row("three-digit year", "05.04.201", QDateTime());
        row("hour 25", "05.04.2013 25:00", QDateTime());
        row("text after", "05.04.2013x", QDateTime());
        row("blank inside a number", "0 5.04.2013", QDateTime());
    }
    void parseDate() {
        const auto [input, expected] = fetch<QString, QDateTime>("input", "expected");
        const auto parsed = text::parseDate(input);
        QCOMPARE(parsed.value_or(QDateTime()), expected);
        if (parsed)
            QCOMPARE(parsed->timeSpec(), Qt::UTC);
    }
};

QTEST_GUILESS_MAIN(TestValueText)
#include "tst_valuetext.moc"
