// The stored forms of a date-time at their edges: what the program reads from
// a day number or an ISO text, and what Month() and Year() of a statement say
// about the same value, must name the same day.

#include "DateTimeText.h"
#include "Dialect.h"
#include "TestSupport.h"
#include "Value.h"

#include <QTest>

using kb::Value;
using kbtest::TempDatabase;
namespace dt = kb::datetime;

class TestStoredForms : public QObject {
    Q_OBJECT
private slots:
    void readersAgree_data();
    void readersAgree();
};

void TestStoredForms::readersAgree_data() {
    QTest::addColumn<Value>("stored");
    QTest::addColumn<QDateTime>("expected"); // invalid: no date at all
    const auto ms = [](int y, int mo, int d, int h, int mi, int s, int msec) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s, msec), Qt::UTC);
    };
    QTest::newRow("fraction rounding up to the next year") << Value(41639.0 + 0.9999999999) << dt::make(2014, 1, 1);
    QTest::newRow("last millisecond of a year")
        << Value(41639.0 + 86399999.0 / 86400000.0) << ms(2013, 12, 31, 23, 59, 59, 999);
    QTest::newRow("29 February") << Value(40968.75) << dt::make(2012, 2, 29, 18);
    QTest::newRow("first day of year 100") << Value(-657434.0) << dt::make(100, 1, 1);
    QTest::newRow("last day of 9999") << Value(2958465.5) << dt::make(9999, 12, 31, 12);
    QTest::newRow("rounding past 31.12.9999") << Value(2958465.9999999995) << QDateTime();
    QTest::newRow("fraction of a second cut, not rounded")
        << Value(QStringLiteral("2013-12-31 23:59:59.9999")) << ms(2013, 12, 31, 23, 59, 59, 999);
    QTest::newRow("text 29 February") << Value(QStringLiteral("2012-02-29 10:00")) << dt::make(2012, 2, 29, 10);
    QTest::newRow("text 29 February of a common year") << Value(QStringLiteral("2013-02-29")) << QDateTime();
}

void TestStoredForms::readersAgree() {
    QFETCH(Value, stored);
    QFETCH(QDateTime, expected);
    const QDateTime read = stored.kind() == Value::Kind::Text ? dt::fromIso(stored.text()).value_or(QDateTime())
                                                              : dt::fromDayNumber(stored.toDouble());
    QCOMPARE(read, expected);

    TempDatabase db;
    kb::Statement s = kb::dialect::prepare(db.connection(), QStringLiteral("SELECT Month(?1), Year(?1)"));
    s.bind(1, stored);
    if (!expected.isValid()) {
        const QString message = kbtest::errorMessage([&] { s.step(); });
        QVERIFY2(message.contains(QStringLiteral("не является датой")), qPrintable(message));
        return;
    }
    QVERIFY(s.step());
    QCOMPARE(s.column(0), Value(expected.date().month()));
    QCOMPARE(s.column(1), Value(expected.date().year()));
}

QTEST_GUILESS_MAIN(TestStoredForms)
#include "tst_storedforms.moc"
