// Typed values, the stored date-time forms and the declared column types.
#include "ColumnTypes.h"
#include "DateTimeText.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QTimeZone>

using kb::FieldType;
using kb::Value;
using kb::datetime::make;
using namespace kbtest;
namespace dt = kb::datetime;

class TestValues : public QObject {
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
        row("1 April 2013", 41365.0, make(2013, 4, 1));
        row("quarter past six in the evening", 41365.76041666666, make(2013, 4, 1, 18, 15));
        row("before day zero counts the fraction forward", -1.25, make(1899, 12, 29, 6));
        row("1 January 1900", 2.0, make(1900, 1, 1));
        row("last second of a day", 41365.0 + 86399.0 / 86400.0, make(2013, 4, 1, 23, 59, 59));
        row("after 9999", 3e6, QDateTime());
        row("before year 100", -7e5, QDateTime());
        row("infinity", qInf(), QDateTime());
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
};

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
