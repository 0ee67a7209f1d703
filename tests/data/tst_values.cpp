// Typed values, the stored date-time forms and the declared column types.
#include "ColumnTypes.h"
#include "DateTimeText.h"
#include "TestSupport.h"
#include "Value.h"

#include <QTest>
#include <QTimeZone>

using kb::FieldType;
using kb::Value;
namespace dt = kb::datetime;

class TestValues : public QObject {
    Q_OBJECT
private slots:
    void isoRoundTrip_data();
    void isoRoundTrip();
    void isoRejects_data();
    void isoRejects();
    void dayNumber_data();
    void dayNumber();
    void dayNumberOutOfRange_data();
    void dayNumberOutOfRange();
    void dateTimeValueKeepsWallClock();
    void invalidDateTimeIsNull();
    void numericConversions_data();
    void numericConversions();
    void classify_data();
    void classify();
    void columnLookupIgnoresCase();
};

void TestValues::isoRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    QTest::addColumn<QString>("stored");
    QTest::newRow("full") << "2013-04-15 13:45:07" << dt::make(2013, 4, 15, 13, 45, 7) << "2013-04-15 13:45:07";
    QTest::newRow("date only is midnight") << "1985-05-12" << dt::make(1985, 5, 12) << "1985-05-12 00:00:00";
    QTest::newRow("no seconds") << "2014-12-31 23:59" << dt::make(2014, 12, 31, 23, 59) << "2014-12-31 23:59:00";
    QTest::newRow("T separator") << "2013-04-01T08:00:00" << dt::make(2013, 4, 1, 8) << "2013-04-01 08:00:00";
    QTest::newRow("fraction dropped when stored")
        << "2013-04-01 08:00:00.750" << QDateTime(QDate(2013, 4, 1), QTime(8, 0, 0, 750), Qt::UTC)
        << "2013-04-01 08:00:00";
    QTest::newRow("leap day") << "2012-02-29 00:00:00" << dt::make(2012, 2, 29) << "2012-02-29 00:00:00";
    QTest::newRow("early year padded") << "0100-01-01" << dt::make(100, 1, 1) << "0100-01-01 00:00:00";
}

void TestValues::isoRoundTrip() {
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QFETCH(QString, stored);
    const auto parsed = dt::fromIso(text);
    QVERIFY(parsed.has_value());
    QCOMPARE(*parsed, expected);
    QCOMPARE(parsed->timeSpec(), Qt::UTC);
    QCOMPARE(dt::toIso(*parsed), stored);
}

void TestValues::isoRejects_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("Russian form") << "15.04.2013";
    QTest::newRow("no such day") << "2013-02-29";
    QTest::newRow("month 13") << "2013-13-01";
    QTest::newRow("hour 24") << "2013-04-01 24:00:00";
    QTest::newRow("trailing text") << "2013-04-01 10:00:00 x";
    QTest::newRow("truncated time") << "2013-04-01 10:0";
    QTest::newRow("leading blank") << " 2013-04-01";
    QTest::newRow("number") << "41365";
    QTest::newRow("dot without digits") << "2013-04-01 10:00:00.";
}

void TestValues::isoRejects() {
    QFETCH(QString, text);
    QVERIFY(!dt::fromIso(text).has_value());
}

void TestValues::dayNumber_data() {
    QTest::addColumn<double>("days");
    QTest::addColumn<QDateTime>("expected");
    QTest::newRow("day zero") << 0.0 << dt::make(1899, 12, 30);
    QTest::newRow("1 April 2013") << 41365.0 << dt::make(2013, 4, 1);
    QTest::newRow("noon") << 41365.5 << dt::make(2013, 4, 1, 12);
    QTest::newRow("quarter past six in the evening") << 41365.76041666666 << dt::make(2013, 4, 1, 18, 15);
    QTest::newRow("before day zero counts the fraction forward") << -1.25 << dt::make(1899, 12, 29, 6);
    QTest::newRow("1 January 1900") << 2.0 << dt::make(1900, 1, 1);
    QTest::newRow("last second of a day") << 41365.0 + 86399.0 / 86400.0 << dt::make(2013, 4, 1, 23, 59, 59);
}

void TestValues::dayNumber() {
    QFETCH(double, days);
    QFETCH(QDateTime, expected);
    QCOMPARE(dt::fromDayNumber(days), expected);
    QVERIFY(qAbs(dt::toDayNumber(expected) - days) < 1e-6);
}

void TestValues::dayNumberOutOfRange_data() {
    QTest::addColumn<double>("days");
    QTest::newRow("after 9999") << 3e6;
    QTest::newRow("before year 100") << -7e5;
    QTest::newRow("infinity") << qInf();
    QTest::newRow("not a number") << qQNaN();
}

void TestValues::dayNumberOutOfRange() {
    QFETCH(double, days);
    QVERIFY(!dt::fromDayNumber(days).isValid());
}

void TestValues::dateTimeValueKeepsWallClock() {
    // A local time in a zone with daylight saving keeps its clock reading.
    const QDateTime moscow(QDate(2013, 4, 1), QTime(0, 30), QTimeZone("Europe/Moscow"));
    const Value v(moscow);
    QCOMPARE(v.kind(), Value::Kind::DateTime);
    QCOMPARE(v.toDateTime(), dt::make(2013, 4, 1, 0, 30));
    QCOMPARE(Value(moscow), Value(dt::make(2013, 4, 1, 0, 30)));
}

void TestValues::invalidDateTimeIsNull() {
    QVERIFY(Value(QDateTime()).isNull());
    QVERIFY(!Value(QDateTime()).toDateTime().isValid());
}

void TestValues::numericConversions_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<qint64>("asInt");
    QTest::addColumn<double>("asDouble");
    QTest::newRow("integer") << Value(42) << qint64(42) << 42.0;
    QTest::newRow("float truncates toward zero") << Value(-2.75) << qint64(-2) << -2.75;
    QTest::newRow("huge float saturates") << Value(1e300) << std::numeric_limits<qint64>::max() << 1e300;
    QTest::newRow("text is no number") << Value(QStringLiteral("25")) << qint64(0) << 0.0;
    QTest::newRow("null") << Value() << qint64(0) << 0.0;
}

void TestValues::numericConversions() {
    QFETCH(Value, value);
    QFETCH(qint64, asInt);
    QFETCH(double, asDouble);
    QCOMPARE(value.toInt(), asInt);
    QCOMPARE(value.toDouble(), asDouble);
}

void TestValues::classify_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<FieldType>("type");
    QTest::newRow("INTEGER") << "INTEGER" << FieldType::Integer;
    QTest::newRow("int lower case") << "int" << FieldType::Integer;
    QTest::newRow("TEXT") << "TEXT" << FieldType::Text;
    QTest::newRow("VARCHAR(255)") << "VARCHAR(255)" << FieldType::Text;
    QTest::newRow("REAL") << "REAL" << FieldType::Float;
    QTest::newRow("DOUBLE PRECISION") << "DOUBLE PRECISION" << FieldType::Float;
    QTest::newRow("DATETIME") << "DATETIME" << FieldType::DateTime;
    QTest::newRow("DATE") << "date" << FieldType::DateTime;
    QTest::newRow("none") << "" << FieldType::Unknown;
    QTest::newRow("BLOB") << "BLOB" << FieldType::Unknown;
}

void TestValues::classify() {
    QFETCH(QString, declared);
    QFETCH(FieldType, type);
    QCOMPARE(kb::ColumnTypes::classify(declared), type);
}

void TestValues::columnLookupIgnoresCase() {
    kb::ColumnTypes types;
    types.add(QStringLiteral("Premia"), QStringLiteral("Premia"), QStringLiteral("TEXT"));
    types.add(QStringLiteral("Premia"), QStringLiteral("Data"), QStringLiteral("DATETIME"));
    types.add(QStringLiteral("Stavka"), QStringLiteral("Sum"), QStringLiteral("REAL"));
    types.add(QStringLiteral("Stavka"), QStringLiteral("IDSotr"), QStringLiteral("INTEGER"));
    types.add(QStringLiteral("Premia"), QStringLiteral("IDSotr"), QStringLiteral("INTEGER"));

    QVERIFY(types.hasTable(QStringLiteral("PREMIA")));
    QVERIFY(!types.hasTable(QStringLiteral("Sotr")));
    QVERIFY(types.hasColumn(QStringLiteral("stavka"), QStringLiteral("SUM")));
    QVERIFY(!types.hasColumn(QStringLiteral("Stavka"), QStringLiteral("Data")));
    QCOMPARE(types.type(QStringLiteral("premia"), QStringLiteral("data")), FieldType::DateTime);
    QCOMPARE(types.type(QStringLiteral("Premia"), QStringLiteral("Nothing")), FieldType::Unknown);
    QCOMPARE(types.declaredType(QStringLiteral("Stavka"), QStringLiteral("sum")), QStringLiteral("REAL"));
    QCOMPARE(types.tables(), QStringList({QStringLiteral("Premia"), QStringLiteral("Stavka")}));
    QCOMPARE(types.columns(QStringLiteral("PREMIA")),
             QStringList({QStringLiteral("Premia"), QStringLiteral("Data"), QStringLiteral("IDSotr")}));
    QCOMPARE(types.tablesWithColumn(QStringLiteral("idsotr")),
             QStringList({QStringLiteral("Premia"), QStringLiteral("Stavka")}));
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
