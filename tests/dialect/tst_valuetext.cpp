// The default text forms of values and the conversions of typed text.

#include "DateTimeText.h"
#include "TestSupport.h"
#include "Value.h"
#include "ValueText.h"

#include <QTest>
#include <limits>

using kb::Value;
namespace dt = kb::datetime;
namespace text = kb::text;

class TestValueText : public QObject {
    Q_OBJECT
private slots:
    void display_data();
    void display();
    void monthYear_data();
    void monthYear();
    void parseInteger_data();
    void parseInteger();
    void parseFloat_data();
    void parseFloat();
    void parseDate_data();
    void parseDate();
};

void TestValueText::display_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("null") << Value() << "";
    QTest::newRow("integer") << Value(42) << "42";
    QTest::newRow("negative integer") << Value(qint64(-9000000000)) << "-9000000000";
    QTest::newRow("binary noise below") << Value(1481.3999999999999) << "1481,4";
    QTest::newRow("binary noise above") << Value(1200.0000000000002) << "1200";
    QTest::newRow("sum of tenths") << Value(0.1 + 0.2) << "0,3";
    QTest::newRow("whole float") << Value(5000.0) << "5000";
    QTest::newRow("negative fraction") << Value(-0.5) << "-0,5";
    QTest::newRow("negative zero") << Value(-0.0) << "0";
    QTest::newRow("fifteen digits") << Value(123456789012345.0) << "123456789012345";
    QTest::newRow("large") << Value(1e20) << "1E20";
    QTest::newRow("large with fraction") << Value(-1.25e16) << "-1,25E16";
    QTest::newRow("small but plain") << Value(0.0001) << "0,0001";
    QTest::newRow("small") << Value(1.5e-7) << "1,5E-7";
    QTest::newRow("infinity") << Value(std::numeric_limits<double>::infinity()) << "INF";
    QTest::newRow("text as is") << Value(QStringLiteral(" 25,5 ")) << " 25,5 ";
    QTest::newRow("midnight shows no time") << Value(dt::make(2013, 4, 5)) << "05.04.2013";
    QTest::newRow("time shown") << Value(dt::make(2013, 4, 5, 9, 7, 3)) << "05.04.2013 09:07:03";
    QTest::newRow("one second after midnight") << Value(dt::make(1985, 12, 31, 0, 0, 1)) << "31.12.1985 00:00:01";
    QTest::newRow("early year") << Value(dt::make(100, 1, 1)) << "01.01.0100";
}

void TestValueText::display() {
    QFETCH(Value, value);
    QFETCH(QString, expected);
    QCOMPARE(text::display(value), expected);
}

void TestValueText::monthYear_data() {
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("april") << dt::make(2013, 4, 15, 10, 30) << "04.2013";
    QTest::newRow("december") << dt::make(1999, 12, 31) << "12.1999";
    QTest::newRow("invalid") << QDateTime() << "";
}

void TestValueText::monthYear() {
    QFETCH(QDateTime, value);
    QFETCH(QString, expected);
    QCOMPARE(text::monthYear(value), expected);
}

void TestValueText::parseInteger_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("digits") << "25" << true << qint64(25);
    QTest::newRow("blanks around") << "  25\t" << true << qint64(25);
    QTest::newRow("minus") << "-7" << true << qint64(-7);
    QTest::newRow("plus") << "+7" << true << qint64(7);
    QTest::newRow("largest") << "9223372036854775807" << true << std::numeric_limits<qint64>::max();
    QTest::newRow("smallest") << "-9223372036854775808" << true << std::numeric_limits<qint64>::min();
    QTest::newRow("overflow") << "9223372036854775808" << false << qint64(0);
    QTest::newRow("decimal comma") << "12,0" << false << qint64(0);
    QTest::newRow("decimal point") << "12.5" << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("blank") << "   " << false << qint64(0);
    QTest::newRow("sign alone") << "-" << false << qint64(0);
    QTest::newRow("blank after sign") << "- 5" << false << qint64(0);
    QTest::newRow("thousands") << "1 000" << false << qint64(0);
    QTest::newRow("hex") << "0x10" << false << qint64(0);
    QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << false << qint64(0);
}

void TestValueText::parseInteger() {
    QFETCH(QString, input);
    QFETCH(bool, valid);
    QFETCH(qint64, expected);
    const auto parsed = text::parseInteger(input);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, expected);
}

void TestValueText::parseFloat_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");
    QTest::newRow("comma") << "12,5" << true << 12.5;
    QTest::newRow("point") << "12.5" << true << 12.5;
    QTest::newRow("blanks and sign") << " -0,25 " << true << -0.25;
    QTest::newRow("whole") << "25" << true << 25.0;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("exponent with comma") << "1,5E-2" << true << 0.015;
    QTest::newRow("no whole part") << ",5" << true << 0.5;
    QTest::newRow("no fraction") << "5." << true << 5.0;
    QTest::newRow("exact tenth") << "1481,4" << true << 1481.4;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("separator alone") << "," << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("beyond double") << "1e400" << false << 0.0;
    QTest::newRow("two separators") << "12,5,1" << false << 0.0;
    QTest::newRow("thousands") << "1 000,5" << false << 0.0;
    QTest::newRow("infinity word") << "inf" << false << 0.0;
    QTest::newRow("nan word") << "nan" << false << 0.0;
    QTest::newRow("letters after") << "12abc" << false << 0.0;
}

void TestValueText::parseFloat() {
    QFETCH(QString, input);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    const auto parsed = text::parseFloat(input);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, expected);
}

void TestValueText::parseDate_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QDateTime>("expected"); // invalid: no date
    QTest::newRow("short year") << "05.04.13" << dt::make(2013, 4, 5);
    QTest::newRow("full year") << "05.04.2013" << dt::make(2013, 4, 5);
    QTest::newRow("slashes, one digit") << "5/4/13" << dt::make(2013, 4, 5);
    QTest::newRow("mask blanks") << " 5. 4.13" << dt::make(2013, 4, 5);
    QTest::newRow("blanks around parts") << " 05 . 04 . 2013 " << dt::make(2013, 4, 5);
    QTest::newRow("window end 2029") << "31.12.29" << dt::make(2029, 12, 31);
    QTest::newRow("window start 1930") << "01.01.30" << dt::make(1930, 1, 1);
    QTest::newRow("99") << "01.01.99" << dt::make(1999, 1, 1);
    QTest::newRow("00") << "01.01.00" << dt::make(2000, 1, 1);
    QTest::newRow("leap day") << "29.02.2012" << dt::make(2012, 2, 29);
    QTest::newRow("time") << "05.04.2013 13:45" << dt::make(2013, 4, 5, 13, 45);
    QTest::newRow("time with seconds") << "05.04.2013 9:05:07" << dt::make(2013, 4, 5, 9, 5, 7);
    QTest::newRow("31 February") << "31.02.2013" << QDateTime();
    QTest::newRow("29 February, no leap year") << "29.02.2013" << QDateTime();
    QTest::newRow("day 32") << "32.01.2013" << QDateTime();
    QTest::newRow("day 0") << "00.01.2013" << QDateTime();
    QTest::newRow("month 13") << "01.13.2013" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
    QTest::newRow("empty mask") << "  .  .  " << QDateTime();
    QTest::newRow("no year") << "05.04" << QDateTime();
    QTest::newRow("three-digit year") << "05.04.201" << QDateTime();
    QTest::newRow("dashes") << "05-04-2013" << QDateTime();
    QTest::newRow("hour 25") << "05.04.2013 25:00" << QDateTime();
    QTest::newRow("hour alone") << "05.04.2013 12" << QDateTime();
    QTest::newRow("text after") << "05.04.2013x" << QDateTime();
    QTest::newRow("blank inside a number") << "0 5.04.2013" << QDateTime();
}

void TestValueText::parseDate() {
    QFETCH(QString, input);
    QFETCH(QDateTime, expected);
    const auto parsed = text::parseDate(input);
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed) {
        QCOMPARE(*parsed, expected);
        QCOMPARE(parsed->timeSpec(), Qt::UTC);
    }
}

QTEST_GUILESS_MAIN(TestValueText)
#include "tst_valuetext.moc"
