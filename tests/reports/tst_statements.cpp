// The statements of the grid handlers and the pay slip, run through the query
// object on real database files: which rows they give and what they compute.

#include "DbError.h"
#include "GridQueryRun.h"
#include "Query.h"
#include "StatementFixtures.h"
#include "Statements.h"

#include <QTest>
#include <algorithm>
#include <cmath>

using kb::Query;
using kb::Value;
using kbtest::at;
using kbtest::StatementDb;
namespace reports = kb::reports;

namespace {

bool near(double actual, double expected) {
    return std::abs(actual - expected) <= 1e-9 * std::max(1.0, std::abs(expected));
}

QString nameOf(const Value& value) {
    return value.isNull() ? QStringLiteral("(null)") : value.text();
}

// Column 0 (salary statement) or 1 (employee lists) of every row, in result order.
QStringList column(const Query& query, int c) {
    QStringList names;
    for (int r = 0; r < query.recordCount(); ++r)
        names << nameOf(query.value(r, c));
    return names;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

const QDateTime kApril2013 = at(2013, 4, 15, 10, 30);

// One employee who is in the April 2013 statement.
qint64 addPaid(StatementDb& db, const QString& fio, double rate, int days, const QString& bonus) {
    const qint64 id = db.addSotr(fio, Value());
    db.addStavka(id, rate);
    db.addPremia(id, at(2013, 4, 5), bonus);
    db.addOtrChas(id, days, at(2013, 4, 28));
    return id;
}

// Staff for the searches: four employees with a position, one without, one
// with a position number that no position has, and one without a name.
void addSearchStaff(StatementDb& db) {
    const qint64 methodist = db.addDolznost(QStringLiteral("Методист"));
    const qint64 librarian = db.addDolznost(QStringLiteral("Библиотекарь"));
    const qint64 director = db.addDolznost(QStringLiteral("Директор"));
    db.addDolznost(QStringLiteral("Хормейстер")); // nobody holds it
    db.addSotr(QStringLiteral("Иванов Иван Иванович"), Value(methodist));
    db.addSotr(QStringLiteral("Сидорова Анна Петровна"), Value(librarian));
    db.addSotr(QStringLiteral("Петров Пётр Ильич"), Value(director));
    db.addSotr(QStringLiteral("Ёлкина Ольга Николаевна"), Value(librarian));
    db.addSotr(QStringLiteral("Безместный Иван Петрович"), Value());
    db.addSotr(QStringLiteral("Потерянный Иван Петрович"), Value(qint64(999)));
    db.insert(QStringLiteral("Sotr"), {{QStringLiteral("IDDolznost"), Value(director)}});
}

} // namespace

class TestStatements : public QObject {
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void salaryFigures_data();
    void salaryFigures();
    void salaryRowSelection_data();
    void salaryRowSelection();
    void salaryMonthChoice_data();
    void salaryMonthChoice();
    void salaryOrder();
    void salaryBadBonus_data();
    void salaryBadBonus();
    void salaryBadBonusOfOtherMonth();
    void nameSearch_data();
    void nameSearch();
    void positionSearch_data();
    void positionSearch();
    void employeeList();
    void paySlipCheck_data();
    void paySlipCheck();
};

void TestStatements::layouts_data() {
    QTest::addColumn<reports::GridRequest>("request");
    QTest::addColumn<QString>("titles");
    QTest::addColumn<QList<int>>("widths");
    const QString employeeTitles = QStringLiteral("№|ФИО|Должность|Дата рожд.|Адрес|Телефон|Паспорт|ИНН");
    const QList<int> employeeWidths{30, 150, 120, 80, 120, 80, 80, 80};
    QTest::newRow("salary") << reports::salaryStatement(kApril2013)
                            << QStringLiteral("ФИО|Оклад|Отр. дни|Нач. по окл.|Подоходный|Пенсионный|Аванс|Всего "
                                              "уд.|Премия|К выдаче")
                            << QList<int>{150, 60, 70, 70, 70, 70, 70, 60, 60, 60};
    QTest::newRow("name search") << reports::nameSearch(QStringLiteral("Ив")) << employeeTitles << employeeWidths;
    QTest::newRow("position search") << reports::positionSearch(QStringLiteral("Методист")) << employeeTitles
                                     << employeeWidths;
    QTest::newRow("list") << reports::employeeList() << employeeTitles << employeeWidths;
}

void TestStatements::layouts() {
    QFETCH(reports::GridRequest, request);
    QFETCH(QString, titles);
    QFETCH(QList<int>, widths);
    QStringList actualTitles;
    QList<int> actualWidths;
    for (const reports::ColumnLayout& c : request.columns) {
        actualTitles << c.title;
        actualWidths << c.width;
    }
    QCOMPARE(actualTitles.join(QLatin1Char('|')), titles);
    QCOMPARE(actualWidths, widths);

    // One layout entry per field of the select list, also on an empty result.
    StatementDb db;
    Query query(db.connection());
    reports::openRequest(request, query);
    QCOMPARE(query.fieldCount(), int(request.columns.size()));
    QCOMPARE(query.recordCount(), 0);
}

void TestStatements::salaryFigures_data() {
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("bonus");
    // accrued, income tax, pension, advance, total deducted, bonus, payable
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("10000 x 10, bonus 25")
        << 10000.0 << 10 << "25" << QList<double>{5000, 1200, 100, 4000, 8700, 2500, 11200};
    QTest::newRow("1000 x 7 is whole") << 1000.0 << 7 << "25" << QList<double>{350, 120, 10, 400, 870, 250, 1120};
    QTest::newRow("1234 x 3 rounds down")
        << 1234.0 << 3 << "10" << QList<double>{185, 148.08, 12.34, 493.6, 1073.58, 123.4, 1196.98};
    QTest::newRow("1010 x 1 half to even down")
        << 1010.0 << 1 << "10" << QList<double>{50, 121.2, 10.1, 404, 878.7, 101, 979.7};
    QTest::newRow("1030 x 1 half to even up")
        << 1030.0 << 1 << "0" << QList<double>{52, 123.6, 10.3, 412, 896.1, 0, 896.1};
    QTest::newRow("bonus with decimal comma")
        << 10000.0 << 20 << "12,5" << QList<double>{10000, 1200, 100, 4000, 8700, 1250, 9950};
    QTest::newRow("bonus with decimal point")
        << 10000.0 << 20 << "12.5" << QList<double>{10000, 1200, 100, 4000, 8700, 1250, 9950};
    QTest::newRow("bonus with blanks around")
        << 10000.0 << 10 << " 25 " << QList<double>{5000, 1200, 100, 4000, 8700, 2500, 11200};
    QTest::newRow("fractional rate") << 15000.5 << 21 << "20"
                                     << QList<double>{15751, 1800.06, 150.005, 6000.2, 13050.435, 3000.1, 16050.535};
}

void TestStatements::salaryFigures() {
    QFETCH(double, rate);
    QFETCH(int, days);
    QFETCH(QString, bonus);
    QFETCH(QList<double>, expected);
    StatementDb db;
    addPaid(db, QStringLiteral("Сотрудник Один"), rate, days, bonus);
    Query query(db.connection());
    reports::openRequest(reports::salaryStatement(kApril2013), query);
    QCOMPARE(query.fieldCount(), 10);
    QCOMPARE(query.recordCount(), 1);
    QCOMPARE(query.value(0, 0), Value(QStringLiteral("Сотрудник Один")));
    QCOMPARE(query.value(0, 1).toDouble(), rate);
    QCOMPARE(query.value(0, 2), Value(qint64(days)));
    for (int c = 3; c < 10; ++c) {
        const Value v = query.value(0, c);
        QVERIFY2(v.kind() == Value::Kind::Float || v.kind() == Value::Kind::Integer, qPrintable(QString::number(c)));
        QVERIFY2(near(v.toDouble(), expected.at(c - 3)), qPrintable(QStringLiteral("column %1: %2, expected %3")
                                                                        .arg(c)
                                                                        .arg(v.toDouble(), 0, 'g', 17)
                                                                        .arg(expected.at(c - 3), 0, 'g', 17)));
    }
}

void TestStatements::salaryRowSelection_data() {
    QTest::addColumn<QList<double>>("rates");
    QTest::addColumn<QList<QDateTime>>("bonusDates");
    QTest::addColumn<QList<QDateTime>>("daysDates");
    QTest::addColumn<int>("rows");
    const QList<double> one{1000};
    const QList<QDateTime> april{at(2013, 4, 10)};
    QTest::newRow("one of each") << one << april << april << 1;
    QTest::newRow("two rates") << QList<double>{1000, 500} << april << april << 2;
    QTest::newRow("two bonuses in the month") << one << QList<QDateTime>{at(2013, 4, 1), at(2013, 4, 30)} << april << 2;
    QTest::newRow("two day counts in the month")
        << one << april << QList<QDateTime>{at(2013, 4, 2), at(2013, 4, 3)} << 2;
    QTest::newRow("two rates and two bonuses")
        << QList<double>{1000, 500} << QList<QDateTime>{at(2013, 4, 1), at(2013, 4, 2)} << april << 4;
    QTest::newRow("bonus of another month") << one << QList<QDateTime>{at(2013, 3, 31, 23, 59, 59)} << april << 0;
    QTest::newRow("bonus of the month in another year") << one << QList<QDateTime>{at(2014, 4, 10)} << april << 0;
    QTest::newRow("days of another month") << one << april << QList<QDateTime>{at(2013, 5, 1)} << 0;
    QTest::newRow("days of the month in another year") << one << april << QList<QDateTime>{at(2012, 4, 10)} << 0;
    QTest::newRow("no rate") << QList<double>{} << april << april << 0;
    QTest::newRow("no bonus") << one << QList<QDateTime>{} << april << 0;
    QTest::newRow("no days") << one << april << QList<QDateTime>{} << 0;
}

void TestStatements::salaryRowSelection() {
    QFETCH(QList<double>, rates);
    QFETCH(QList<QDateTime>, bonusDates);
    QFETCH(QList<QDateTime>, daysDates);
    QFETCH(int, rows);
    StatementDb db;
    // Someone who is always there, so an empty answer is never the only answer.
    addPaid(db, QStringLiteral("Контрольный"), 900, 20, QStringLiteral("10"));
    const QString fio = QStringLiteral("Проверяемый");
    const qint64 id = db.addSotr(fio, Value());
    for (double rate : rates)
        db.addStavka(id, rate);
    QList<double> bonuses;
    for (int i = 0; i < bonusDates.size(); ++i) {
        bonuses << 10.0 * (i + 1);
        db.addPremia(id, bonusDates.at(i), QString::number(bonuses.last()));
    }
    for (const QDateTime& d : daysDates)
        db.addOtrChas(id, 20, d);

    Query query(db.connection());
    reports::openRequest(reports::salaryStatement(kApril2013), query);
    QCOMPARE(column(query, 0).count(QStringLiteral("Контрольный")), 1);
    QCOMPARE(column(query, 0).count(fio), rows);

    // Each row is one combination of a rate, a bonus and a day count, every combination once.
    QList<QPair<double, double>> expected;
    if (rows > 0) {
        for (double rate : rates)
            for (double bonus : bonuses)
                for (qsizetype d = 0; d < daysDates.size(); ++d)
                    expected << qMakePair(rate, rate * bonus / 100);
    }
    QList<QPair<double, double>> seen;
    for (int r = 0; r < query.recordCount(); ++r)
        if (query.value(r, 0) == Value(fio))
            seen << qMakePair(query.value(r, 1).toDouble(), query.value(r, 8).toDouble());
    std::sort(expected.begin(), expected.end());
    std::sort(seen.begin(), seen.end());
    QCOMPARE(seen, expected);
}

void TestStatements::salaryMonthChoice_data() {
    QTest::addColumn<QDateTime>("picker");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first moment of April") << at(2013, 4, 1) << "Апрельский";
    QTest::newRow("middle of April") << at(2013, 4, 15, 12, 34, 56) << "Апрельский";
    QTest::newRow("last second of April") << at(2013, 4, 30, 23, 59, 59) << "Апрельский";
    QTest::newRow("last second of March") << at(2013, 3, 31, 23, 59, 59) << "Мартовский";
    QTest::newRow("first moment of May") << at(2013, 5, 1) << "Майский";
    QTest::newRow("April of another year") << at(2012, 4, 15) << "";
}

void TestStatements::salaryMonthChoice() {
    QFETCH(QDateTime, picker);
    QFETCH(QString, expected);
    StatementDb db;
    // Bonus and days dated at the edges of their month, times of day included.
    const auto add = [&db](const QString& fio, const QDateTime& bonusDate, const QDateTime& daysDate) {
        const qint64 id = db.addSotr(fio, Value());
        db.addStavka(id, 1000);
        db.addPremia(id, bonusDate, QStringLiteral("10"));
        db.addOtrChas(id, 20, daysDate);
    };
    add(QStringLiteral("Апрельский"), at(2013, 4, 30, 23, 59, 59), at(2013, 4, 1));
    add(QStringLiteral("Мартовский"), at(2013, 3, 1), at(2013, 3, 31, 23, 59, 59));
    add(QStringLiteral("Майский"), at(2013, 5, 1), at(2013, 5, 31, 18));
    Query query(db.connection());
    reports::openRequest(reports::salaryStatement(picker), query);
    QCOMPARE(column(query, 0).join(QLatin1Char(',')), expected);
}

void TestStatements::salaryOrder() {
    StatementDb db;
    const QStringList inserted{QStringLiteral("Жуков Иван"),   QStringLiteral("Ёлкин Пётр"),
                               QStringLiteral("Яковлев Олег"), QStringLiteral("Егоров Павел"),
                               QStringLiteral("абрамов Илья"), QStringLiteral("Ежов Антон"),
                               QStringLiteral("Борисов Юрий")};
    for (const QString& fio : inserted)
        addPaid(db, fio, 1000, 20, QStringLiteral("10"));
    Query query(db.connection());
    reports::openRequest(reports::salaryStatement(kApril2013), query);
    QCOMPARE(column(query, 0),
             (QStringList{QStringLiteral("абрамов Илья"), QStringLiteral("Борисов Юрий"),
                          QStringLiteral("Егоров Павел"), QStringLiteral("Ежов Антон"), QStringLiteral("Ёлкин Пётр"),
                          QStringLiteral("Жуков Иван"), QStringLiteral("Яковлев Олег")}));
}

void TestStatements::salaryBadBonus_data() {
    QTest::addColumn<QString>("bonus");
    QTest::newRow("letters") << "много";
    QTest::newRow("percent sign") << "25%";
    QTest::newRow("two separators") << "12,5,1";
    QTest::newRow("digits then letters") << "15abc";
    QTest::newRow("empty text") << "";
}

void TestStatements::salaryBadBonus() {
    QFETCH(QString, bonus);
    StatementDb db;
    addPaid(db, QStringLiteral("Исправный"), 1000, 20, QStringLiteral("10"));
    addPaid(db, QStringLiteral("Неисправный"), 1000, 20, bonus);
    Query query(db.connection());
    try {
        reports::openRequest(reports::salaryStatement(kApril2013), query);
        QFAIL("the statement should fail on a bonus that is no number");
    } catch (const kb::DbError& e) {
        const QString message = QString::fromUtf8(e.what());
        QVERIFY2(message.contains(QLatin1Char('\'') + bonus + QLatin1Char('\'')) ||
                     message.contains(QLatin1Char('"') + bonus + QLatin1Char('"')),
                 qPrintable(message));
    }
    QVERIFY(!query.isActive());
    // The same query works again once the value is put right.
    db.exec(QStringLiteral("UPDATE Premia SET Premia = '20' WHERE Premia = ?1"), {Value(bonus)});
    reports::openRequest(reports::salaryStatement(kApril2013), query);
    QCOMPARE(query.recordCount(), 2);
}

void TestStatements::salaryBadBonusOfOtherMonth() {
    // A bonus that is no number only matters in the month it belongs to.
    StatementDb db;
    const qint64 id = addPaid(db, QStringLiteral("Сотрудник"), 1000, 20, QStringLiteral("10"));
    db.addPremia(id, at(2013, 3, 10), QStringLiteral("abc"));
    db.addOtrChas(id, 18, at(2013, 3, 10));
    Query query(db.connection());
    reports::openRequest(reports::salaryStatement(kApril2013), query);
    QCOMPARE(query.recordCount(), 1);
    QVERIFY_THROWS_EXCEPTION(kb::DbError, reports::openRequest(reports::salaryStatement(at(2013, 3, 1)), query));
}

void TestStatements::nameSearch_data() {
    QTest::addColumn<QString>("edit1");
    QTest::addColumn<QStringList>("expected");
    const QStringList everyone{QStringLiteral("Иванов Иван Иванович"), QStringLiteral("Сидорова Анна Петровна"),
                               QStringLiteral("Петров Пётр Ильич"), QStringLiteral("Ёлкина Ольга Николаевна")};
    QTest::newRow("empty text") << "" << everyone;
    QTest::newRow("single percent sign") << "%" << everyone;
    QTest::newRow("part of a surname") << "дор" << QStringList{QStringLiteral("Сидорова Анна Петровна")};
    QTest::newRow("at the start and in the middle")
        << "Петр" << QStringList{QStringLiteral("Сидорова Анна Петровна"), QStringLiteral("Петров Пётр Ильич")};
    QTest::newRow("leading blank skips the surname")
        << " Петр" << QStringList{QStringLiteral("Сидорова Анна Петровна")};
    QTest::newRow("lower case Cyrillic") << "иванов" << QStringList{QStringLiteral("Иванов Иван Иванович")};
    QTest::newRow("upper case with Ё") << "ЁЛКИНА" << QStringList{QStringLiteral("Ёлкина Ольга Николаевна")};
    QTest::newRow("lower case ё") << "пётр" << QStringList{QStringLiteral("Петров Пётр Ильич")};
    QTest::newRow("underscore stands for one character")
        << "_ванов" << QStringList{QStringLiteral("Иванов Иван Иванович")};
    QTest::newRow("percent inside") << "Анна%вна" << QStringList{QStringLiteral("Сидорова Анна Петровна")};
    QTest::newRow("nobody") << "Кузнецов" << QStringList{};
    QTest::newRow("whole name with trailing text") << "Петров Пётр Ильич!" << QStringList{};
}

void TestStatements::nameSearch() {
    QFETCH(QString, edit1);
    QFETCH(QStringList, expected);
    StatementDb db;
    addSearchStaff(db);
    Query query(db.connection());
    const reports::GridRequest request = reports::nameSearch(edit1);
    QCOMPARE(request.bindings.size(), size_t(1));
    QVERIFY(request.bindings[0].kind == reports::ParamBinding::Kind::Text);
    QCOMPARE(request.bindings[0].value, Value(QLatin1Char('%') + edit1 + QLatin1Char('%')));
    reports::openRequest(request, query);
    QCOMPARE(query.fieldCount(), 8);
    QCOMPARE(sorted(column(query, 1)), sorted(expected));
}

void TestStatements::positionSearch_data() {
    QTest::addColumn<QString>("edit2");
    QTest::addColumn<QStringList>("expected");
    const QStringList librarians{QStringLiteral("Сидорова Анна Петровна"), QStringLiteral("Ёлкина Ольга Николаевна")};
    QTest::newRow("exact name") << "Библиотекарь" << librarians;
    QTest::newRow("other letter case") << "бИБЛИОТЕКАРЬ" << librarians;
    QTest::newRow("part of the name") << "Библиотек" << QStringList{};
    QTest::newRow("wildcard is no wildcard") << "Библиотек%" << QStringList{};
    QTest::newRow("empty text") << "" << QStringList{};
    QTest::newRow("position nobody holds") << "Хормейстер" << QStringList{};
    QTest::newRow("employee without a name")
        << "Директор" << QStringList{QStringLiteral("Петров Пётр Ильич"), QStringLiteral("(null)")};
}

void TestStatements::positionSearch() {
    QFETCH(QString, edit2);
    QFETCH(QStringList, expected);
    StatementDb db;
    addSearchStaff(db);
    Query query(db.connection());
    const reports::GridRequest request = reports::positionSearch(edit2);
    QCOMPARE(request.bindings.size(), size_t(1));
    QCOMPARE(request.bindings[0].value, Value(edit2));
    reports::openRequest(request, query);
    QCOMPARE(sorted(column(query, 1)), sorted(expected));
}

void TestStatements::employeeList() {
    StatementDb db;
    addSearchStaff(db);
    const qint64 position = db.addDolznost(QStringLiteral("Хореограф"));
    const qint64 id = db.addSotr(QStringLiteral("Новикова Ирина Александровна"), Value(position), at(1983, 5, 16),
                                 QStringLiteral("г. Москва, Речная ул., д. 9, кв. 52"), QStringLiteral("(499)135-7924"),
                                 QStringLiteral("4510 123456"), QStringLiteral("771357924680"));
    Query query(db.connection());
    const reports::GridRequest request = reports::employeeList();
    QVERIFY(request.bindings.empty());
    reports::openRequest(request, query);
    QCOMPARE(sorted(column(query, 1)),
             sorted({QStringLiteral("Иванов Иван Иванович"), QStringLiteral("Сидорова Анна Петровна"),
                     QStringLiteral("Петров Пётр Ильич"), QStringLiteral("Ёлкина Ольга Николаевна"),
                     QStringLiteral("(null)"), QStringLiteral("Новикова Ирина Александровна")}));
    const int row = int(column(query, 1).indexOf(QStringLiteral("Новикова Ирина Александровна")));
    const QList<Value> expected{Value(id),
                                Value(QStringLiteral("Новикова Ирина Александровна")),
                                Value(QStringLiteral("Хореограф")),
                                Value(at(1983, 5, 16)),
                                Value(QStringLiteral("г. Москва, Речная ул., д. 9, кв. 52")),
                                Value(QStringLiteral("(499)135-7924")),
                                Value(QStringLiteral("4510 123456")),
                                Value(QStringLiteral("771357924680"))};
    for (int c = 0; c < 8; ++c)
        QCOMPARE(query.value(row, c), expected.at(c));
}

void TestStatements::paySlipCheck_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rows");
    QTest::newRow("as stored") << "Иванов Иван Иванович" << 1;
    QTest::newRow("lower case") << "иванов иван иванович" << 1;
    QTest::newRow("upper case") << "ИВАНОВ ИВАН ИВАНОВИЧ" << 1;
    QTest::newRow("surname only") << "Иванов" << 0;
    QTest::newRow("wildcard is no wildcard") << "Иванов%" << 0;
    QTest::newRow("empty name") << "" << 0;
    QTest::newRow("two employees of one name") << "Петров Пётр Ильич" << 2;
}

void TestStatements::paySlipCheck() {
    QFETCH(QString, name);
    QFETCH(int, rows);
    StatementDb db;
    addSearchStaff(db);
    db.addSotr(QStringLiteral("Петров Пётр Ильич"), Value());
    Query query(db.connection());
    for (const QString& line : reports::paySlipCheckSql())
        query.sql().add(line);
    query.parameters().paramByName(QStringLiteral("P1")).setValue(Value(name));
    query.open();
    QCOMPARE(query.fieldCount(), 1);
    QCOMPARE(query.recordCount(), rows);
}

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
