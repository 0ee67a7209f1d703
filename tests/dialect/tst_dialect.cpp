// The SQL dialect on real database files: Month and Year, ROUND, LIKE, the
// Russian collation, the strict conversion of text columns in arithmetic and
// the rewrite that applies it.

#include "Connection.h"
#include "DateTimeText.h"
#include "Dialect.h"
#include "TestSupport.h"
#include "Value.h"

#include <QTest>
#include <cmath>

using kb::Value;
using kbtest::TempDatabase;
namespace dt = kb::datetime;

namespace {

// The first row of a statement sent as the program sends it, through the dialect.
QList<Value> firstRow(kb::Connection& c, const QString& sql, const QList<Value>& values = {}) {
    kb::Statement s = kb::dialect::prepare(c, sql);
    for (int i = 0; i < values.size(); ++i)
        s.bind(i + 1, values[i]);
    QList<Value> row;
    if (s.step())
        for (int i = 0; i < s.columnCount(); ++i)
            row.append(s.column(i));
    return row;
}

Value scalar(kb::Connection& c, const QString& sql, const QList<Value>& values = {}) {
    const QList<Value> row = firstRow(c, sql, values);
    return row.isEmpty() ? Value() : row.first();
}

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

class TestDialect : public QObject {
    Q_OBJECT
private slots:
    void monthAndYear_data();
    void monthAndYear();
    void monthOfStoredColumn();
    void notADate_data();
    void notADate();
    void round_data();
    void round();
    void roundRefusesText();
    void like_data();
    void like();
    void likeOverRows();
    void likeEscapeMustBeOneCharacter();
    void collationOrdersRussianNames();
    void collationEqualityIgnoresCase();
    void strictConversion_data();
    void strictConversion();
    void strictConversionRefuses_data();
    void strictConversionRefuses();
    void nullAndBlobInArithmetic();
    void rewrite_data();
    void rewrite();
    void rewriteKeepsColumnNames_data();
    void rewriteKeepsColumnNames();
};

void TestDialect::monthAndYear_data() {
    QTest::addColumn<Value>("date");
    QTest::addColumn<Value>("month");
    QTest::addColumn<Value>("year");
    QTest::newRow("iso date-time") << Value(text("2013-04-15 13:45:07")) << Value(4) << Value(2013);
    QTest::newRow("iso date only") << Value(text("2014-12-31")) << Value(12) << Value(2014);
    QTest::newRow("iso with T and fraction") << Value(text("2013-01-01T00:00:00.5")) << Value(1) << Value(2013);
    QTest::newRow("bound date-time") << Value(dt::make(2013, 4, 30, 23, 59, 59)) << Value(4) << Value(2013);
    QTest::newRow("day number") << Value(41369.0) << Value(4) << Value(2013);
    QTest::newRow("day number late in the day") << Value(41639.99) << Value(12) << Value(2013);
    QTest::newRow("integer day number") << Value(36526) << Value(1) << Value(2000);
    QTest::newRow("day zero") << Value(0) << Value(12) << Value(1899);
    QTest::newRow("before day zero, time forward") << Value(-1.5) << Value(12) << Value(1899);
    QTest::newRow("day 60 is 28 February 1900") << Value(60) << Value(2) << Value(1900);
    QTest::newRow("day after") << Value(61) << Value(3) << Value(1900);
    QTest::newRow("first day of year 100") << Value(-657434) << Value(1) << Value(100);
    QTest::newRow("last day of 9999") << Value(2958465.5) << Value(12) << Value(9999);
    QTest::newRow("null") << Value() << Value() << Value();
}

void TestDialect::monthAndYear() {
    QFETCH(Value, date);
    QFETCH(Value, month);
    QFETCH(Value, year);
    TempDatabase db;
    const QList<Value> row = firstRow(db.connection(), QStringLiteral("SELECT Month(?1), Year(?1), mOnTh(?1)"), {date});
    QCOMPARE(row.value(0), month);
    QCOMPARE(row.value(1), year);
    QCOMPARE(row.value(2), month);
}

void TestDialect::monthOfStoredColumn() {
    TempDatabase db;
    const qint64 id = db.addSotr(text("Иванов"));
    db.addPremia(id, dt::make(2013, 4, 15, 10, 30), QStringLiteral("25"));
    db.addPremia(id, dt::make(2014, 4, 1), QStringLiteral("30"));
    const Value n = scalar(db.connection(),
                           QStringLiteral("SELECT count(*) FROM Premia WHERE Month(Premia.Data) = Month(:D1) "
                                          "and Year(Premia.Data) = Year(:D2)"),
                           {Value(dt::make(2013, 4, 2, 8)), Value(dt::make(2013, 4, 2, 8))});
    QCOMPARE(n, Value(1));
}

void TestDialect::notADate_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("word") << Value(text("abc")) << "'abc'";
    QTest::newRow("empty") << Value(QString()) << "''";
    QTest::newRow("30 February") << Value(text("2013-02-30")) << "'2013-02-30'";
    QTest::newRow("month 13") << Value(text("2013-13-01 00:00:00")) << "'2013-13-01 00:00:00'";
    QTest::newRow("hour 25") << Value(text("2013-04-05 25:00:00")) << "'2013-04-05 25:00:00'";
    QTest::newRow("trailing text") << Value(text("2013-04-05 10:00:00 x")) << "'2013-04-05 10:00:00 x'";
    QTest::newRow("russian form") << Value(text("05.04.2013")) << "'05.04.2013'";
    QTest::newRow("year zero") << Value(text("0000-01-01")) << "'0000-01-01'";
    QTest::newRow("day number too big") << Value(1e9) << "'1000000000.0'";
}

void TestDialect::notADate() {
    QFETCH(Value, value);
    QFETCH(QString, quoted);
    TempDatabase db;
    for (const char* f : {"Month", "Year"}) {
        const QString message = kbtest::errorMessage(
            [&] { firstRow(db.connection(), QStringLiteral("SELECT %1(?1)").arg(QLatin1String(f)), {value}); });
        QVERIFY2(message.contains(quoted) && message.contains(text("не является датой")) &&
                     message.contains(QLatin1String(f)),
                 qPrintable(message));
    }
}

void TestDialect::round_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<Value>("expected");
    QTest::newRow("half down to even") << "ROUND(50.5)" << Value(50.0);
    QTest::newRow("half up to even") << "ROUND(51.5)" << Value(52.0);
    QTest::newRow("185.1") << "ROUND(1234.0*3/20)" << Value(185.0);
    QTest::newRow("above half") << "ROUND(2.51)" << Value(3.0);
    QTest::newRow("negative half") << "ROUND(-2.5)" << Value(-2.0);
    QTest::newRow("negative half odd") << "ROUND(-3.5)" << Value(-4.0);
    QTest::newRow("whole stays") << "ROUND(350.0)" << Value(350.0);
    QTest::newRow("integer gives real") << "ROUND(7)" << Value(7.0);
    QTest::newRow("text number") << "ROUND('12,5')" << Value(12.0);
    QTest::newRow("null") << "ROUND(NULL)" << Value();
    QTest::newRow("two arguments stay built-in") << "ROUND(2.567, 2)" << Value(2.57);
    QTest::newRow("small negative gives zero") << "ROUND(-0.4)" << Value(0.0);
    QTest::newRow("rate 1010, one day") << "ROUND(1010.0*1/20)" << Value(50.0);
}

void TestDialect::round() {
    QFETCH(QString, expression);
    QFETCH(Value, expected);
    TempDatabase db;
    const Value result = scalar(db.connection(), QStringLiteral("SELECT ") + expression);
    QCOMPARE(result, expected);
    QCOMPARE(std::signbit(result.toDouble()), std::signbit(expected.toDouble())); // no "-0"
}

void TestDialect::roundRefusesText() {
    TempDatabase db;
    const QString message =
        kbtest::errorMessage([&] { scalar(db.connection(), QStringLiteral("SELECT ROUND('12 5')")); });
    QVERIFY2(message.contains(QLatin1String("'12 5'")) && message.contains(QLatin1String("ROUND")),
             qPrintable(message));
}

void TestDialect::like_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<Value>("pattern");
    QTest::addColumn<Value>("escape"); // null: no ESCAPE clause
    QTest::addColumn<Value>("expected");
    const Value none;
    auto row = [&](const char* name, const char* v, const char* p, int expected, const char* esc = nullptr) {
        QTest::newRow(name) << Value(text(v)) << Value(text(p)) << (esc ? Value(text(esc)) : none) << Value(expected);
    };
    row("contains", "Иванов Пётр", "%ван%", 1);
    row("cyrillic case", "Иванов Пётр", "иван%", 1);
    row("upper pattern", "иванов", "ИВАНОВ", 1);
    row("latin case", "Smith", "sMITH", 1);
    row("yo is not e", "Ёлкин", "елкин", 0);
    row("yo case", "Ёлкин", "ёлкин", 1);
    row("percent matches empty", "abc", "abc%", 1);
    row("two percents match empty text", "", "%%", 1);
    row("underscore needs a character", "", "_", 0);
    row("underscore is one code point", "Пётр", "П_тр", 1);
    row("two underscores", "Пётр", "П__тр", 0);
    row("blank before name", "Петров Иван", "% Иван%", 1);
    row("blank before name at start", "Иванов Пётр", "% Иван%", 0);
    row("needs backtracking", "aXbXc", "%X%X%X", 0);
    row("backtracking finds it", "mississippi", "%sip%", 1);
    row("last part anchors", "abcbd", "%b_", 1);
    row("whole text only", "abcd", "abc", 0);
    row("pattern longer than text", "ab", "abc", 0);
    row("escaped percent", "100%", "100\\%", 1, "\\");
    row("escaped percent is literal", "1000", "100\\%", 0, "\\");
    row("escaped underscore", "a_b", "a\\_b", 1, "\\");
    row("escaped underscore is literal", "axb", "a\\_b", 0, "\\");
    row("cyrillic escape", "5%", "5ж%", 1, "ж");
    QTest::newRow("null value") << none << Value(text("%")) << none << none;
    QTest::newRow("null pattern") << Value(text("x")) << none << none << none;
    QTest::newRow("number as text") << Value(123) << Value(text("1_3")) << none << Value(1);
}

void TestDialect::like() {
    QFETCH(Value, value);
    QFETCH(Value, pattern);
    QFETCH(Value, escape);
    QFETCH(Value, expected);
    TempDatabase db;
    const QString sql = escape.isNull() ? QStringLiteral("SELECT ?1 LIKE ?2, ?1 NOT LIKE ?2")
                                        : QStringLiteral("SELECT ?1 LIKE ?2 ESCAPE ?3, ?1 NOT LIKE ?2 ESCAPE ?3");
    QList<Value> values = {value, pattern};
    if (!escape.isNull())
        values.append(escape);
    const QList<Value> row = firstRow(db.connection(), sql, values);
    QCOMPARE(row.value(0), expected);
    QCOMPARE(row.value(1), expected.isNull() ? expected : Value(1 - expected.toInt()));
}

void TestDialect::likeOverRows() {
    TempDatabase db;
    for (const char* fio : {"Иванов Иван", "Петров Иван", "Иванова Анна", "Сидоров Пётр"})
        db.addSotr(text(fio));
    // One pattern for every row, as the employee search sends it.
    QCOMPARE(scalar(db.connection(), QStringLiteral("SELECT count(*) FROM Sotr WHERE Sotr.FIO LIKE :P1"),
                    {Value(text("%иван%"))}),
             Value(3));
    // A pattern that changes from row to row: each name matches itself and "Иванов%" also "Иванова Анна".
    db.exec(text("UPDATE Sotr SET Adres = CASE WHEN FIO = 'Иванов Иван' THEN 'иванов%' ELSE FIO END"));
    QCOMPARE(scalar(db.connection(), QStringLiteral("SELECT count(*) FROM Sotr a, Sotr b WHERE b.FIO LIKE a.Adres")),
             Value(5));
}

void TestDialect::likeEscapeMustBeOneCharacter() {
    TempDatabase db;
    const QString message =
        kbtest::errorMessage([&] { scalar(db.connection(), QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE 'xy'")); });
    QVERIFY2(message.contains(QLatin1String("ESCAPE")), qPrintable(message));
}

void TestDialect::collationOrdersRussianNames() {
    TempDatabase db;
    const QStringList names = {text("Жуков"),   text("ёжиков"),  text("Егоров"), text("Ёлкин"),
                               text("абрамов"), text("Борисов"), text("Smith"),  text("ежов")};
    for (const QString& n : names)
        db.addSotr(n);
    kb::Statement s = kb::dialect::prepare(db.connection(), QStringLiteral("SELECT FIO FROM Sotr ORDER BY Sotr.FIO"));
    QStringList order;
    while (s.step())
        order << s.column(0).text();
    // Russian order puts Cyrillic before Latin; ё sorts as е (ёжиков before ежов), not after е.
    const QStringList expected = {text("абрамов"), text("Борисов"), text("Егоров"), text("ёжиков"),
                                  text("ежов"),    text("Ёлкин"),   text("Жуков"),  text("Smith")};
    QCOMPARE(order, expected);
}

void TestDialect::collationEqualityIgnoresCase() {
    TempDatabase db;
    db.addDolznost(text("Библиотекарь"));
    db.addDolznost(text("Ёлочник"));
    auto count = [&](const char* name) {
        return scalar(db.connection(), QStringLiteral("SELECT count(*) FROM Dolznost WHERE Dolznost.Nazvanie = :P1"),
                      {Value(text(name))});
    };
    QCOMPARE(count("библиотекарь"), Value(1));
    QCOMPARE(count("БИБЛИОТЕКАРЬ"), Value(1));
    QCOMPARE(count("ёлочник"), Value(1));
    QCOMPARE(count("Елочник"), Value(0));
    QCOMPARE(count("Библиотекар"), Value(0));
    QCOMPARE(count(""), Value(0));
}

void TestDialect::strictConversion_data() {
    QTest::addColumn<QString>("premia");
    QTest::addColumn<Value>("times2");
    QTest::addColumn<Value>("bonus"); // Premia.Premia*Stavka.Sum/100 for a rate of 10000
    QTest::newRow("whole") << "25" << Value(50) << Value(2500.0);
    QTest::newRow("point") << "12.5" << Value(25.0) << Value(1250.0);
    QTest::newRow("comma") << "12,5" << Value(25.0) << Value(1250.0);
    QTest::newRow("blanks") << " 25 " << Value(50) << Value(2500.0);
    QTest::newRow("tab") << "\t7" << Value(14) << Value(700.0);
    QTest::newRow("negative") << "-5" << Value(-10) << Value(-500.0);
    QTest::newRow("plus") << "+5" << Value(10) << Value(500.0);
    QTest::newRow("decimal part makes it real") << "12,0" << Value(24.0) << Value(1200.0);
    QTest::newRow("zero") << "0" << Value(0) << Value(0.0);
    QTest::newRow("long text") << QString(70, QLatin1Char('0')) + QStringLiteral("25,5") << Value(51.0)
                               << Value(2550.0);
}

void TestDialect::strictConversion() {
    QFETCH(QString, premia);
    QFETCH(Value, times2);
    QFETCH(Value, bonus);
    TempDatabase db;
    const qint64 id = db.addSotr(text("Иванов"));
    db.addStavka(id, 10000);
    db.addPremia(id, dt::make(2013, 4, 5), premia);
    const QList<Value> row =
        firstRow(db.connection(), QStringLiteral("SELECT Premia*2, Premia.Premia*Stavka.Sum/100 FROM Premia, Stavka "
                                                 "WHERE Premia.IDSotr = Stavka.IDSotr"));
    QCOMPARE(row.value(0), times2);
    QCOMPARE(row.value(1), bonus);
}

void TestDialect::strictConversionRefuses_data() {
    QTest::addColumn<QString>("premia");
    for (const char* v : {"abc", "", " ", "12.5.1", "1e5", "12,", ",5", "25%", "1 000", "- 5", "0x1A", "двадцать"})
        QTest::newRow(v[0] ? v : "empty") << text(v);
}

void TestDialect::strictConversionRefuses() {
    QFETCH(QString, premia);
    TempDatabase db;
    const qint64 id = db.addSotr(text("Иванов"));
    db.addStavka(id, 10000);
    db.addPremia(id, dt::make(2013, 4, 5), premia);
    const QString statements[] = {
        QStringLiteral("SELECT Premia.Premia*Stavka.Sum/100 FROM Premia, Stavka"),
        QStringLiteral("SELECT p.ID FROM Premia AS p WHERE -(p.Premia) < 0"),
        QStringLiteral("SELECT sum(Premia) FROM Premia"),
    };
    for (const QString& sql : statements) {
        const QString message = kbtest::errorMessage([&] { firstRow(db.connection(), sql); });
        QVERIFY2(message.contains(QLatin1Char('\'') + premia + QLatin1Char('\'')) &&
                     message.contains(QLatin1String("Premia.Premia")) && message.contains(text("не является числом")),
                 qPrintable(sql + QLatin1String(" -> ") + message));
    }
}

void TestDialect::nullAndBlobInArithmetic() {
    TempDatabase db;
    const qint64 id = db.addSotr(text("Иванов"));
    db.exec(QStringLiteral("INSERT INTO Premia (IDSotr, Premia) VALUES (?1, NULL)"), {Value(id)});
    QCOMPARE(scalar(db.connection(), QStringLiteral("SELECT Premia*2 FROM Premia")), Value());
    db.exec(QStringLiteral("UPDATE Premia SET Premia = X'3235'"));
    const QString message =
        kbtest::errorMessage([&] { scalar(db.connection(), QStringLiteral("SELECT Premia*2 FROM Premia")); });
    QVERIFY2(message.contains(QLatin1String("Premia.Premia")), qPrintable(message));
}

void TestDialect::rewrite_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected"); // empty: unchanged
    auto same = [](const char* name, const char* sql) { QTest::newRow(name) << text(sql) << QString(); };
    same("string literal", "SELECT 'Premia.Premia*2' FROM Premia");
    same("line comment", "SELECT Premia FROM Premia -- Premia*2");
    same("block comment", "SELECT Premia /* Premia.Premia*2 */ FROM Premia");
    same("comparison", "SELECT ID FROM Premia WHERE Premia.Premia = '25' AND Premia > 2");
    same("concatenation", "SELECT Premia.Premia || '%' FROM Premia");
    same("concatenation binds tighter", "SELECT 'a' || Premia.Premia * 2 FROM Premia");
    same("like", "SELECT ID FROM Premia WHERE Premia.Premia LIKE '2%'");
    same("order by", "SELECT Premia FROM Premia ORDER BY Premia");
    same("unary plus converts nothing", "SELECT +Premia.Premia FROM Premia");
    same("numeric column", "SELECT Stavka.Sum*2, Sum-1 FROM Stavka");
    same("non-numeric function", "SELECT length(Premia.Premia), Month(Premia.Data) FROM Premia");
    same("ambiguous bare column", "SELECT FIO*2 FROM Sotr a, Sotr b");
    same("column of no table in FROM", "SELECT Premia*2 FROM Stavka");
    same("employee search", "SELECT Sotr.ID, Sotr.FIO, Dolznost.Nazvanie, Sotr.DataR, Sotr.Adres, Sotr.Telefon, "
                            "Sotr.Passport, Sotr.INN\nFROM Sotr, Dolznost\n"
                            "WHERE Dolznost.ID = Sotr.IDDolznost and Sotr.FIO LIKE :P1");
    auto changed = [](const char* name, const char* sql, const char* expected) {
        QTest::newRow(name) << text(sql) << text(expected);
    };
    changed("qualified", "SELECT ID FROM Premia WHERE Premia.Premia * 1 > 10",
            "SELECT ID FROM Premia WHERE kb_number(Premia.Premia,'Premia.Premia') * 1 > 10");
    changed("alias", "SELECT p.Premia*2 AS x FROM Premia p",
            "SELECT kb_number(p.Premia,'Premia.Premia')*2 AS x FROM Premia p");
    changed("AS alias and lower case", "select 2*q.premia from premia as q",
            "select 2*kb_number(q.premia,'Premia.Premia') AS \"2*q.premia\" from premia as q");
    changed("bare column", "SELECT Premia/4 FROM Premia",
            "SELECT kb_number(Premia,'Premia.Premia')/4 AS \"Premia/4\" FROM Premia");
    changed("bare column of one of two tables", "SELECT Adres%2 FROM Stavka, Sotr",
            "SELECT kb_number(Adres,'Sotr.Adres')%2 AS \"Adres%2\" FROM Stavka, Sotr");
    changed("parentheses", "SELECT ((Premia.Premia))*2 FROM Premia",
            "SELECT ((kb_number(Premia.Premia,'Premia.Premia')))*2 AS \"((Premia.Premia))*2\" FROM Premia");
    changed("unary minus", "SELECT -Premia.Premia, -(Premia) FROM Premia",
            "SELECT -kb_number(Premia.Premia,'Premia.Premia') AS \"-Premia.Premia\", "
            "-(kb_number(Premia,'Premia.Premia')) AS \"-(Premia)\" FROM Premia");
    changed("string as alias", "SELECT Premia*2 'twice' FROM Premia",
            "SELECT kb_number(Premia,'Premia.Premia')*2 'twice' FROM Premia");
    changed("keyword touching a quoted name", "SELECT ID FROM Premia WHERE 1 AND\"Premia\"*2 > 1",
            "SELECT ID FROM Premia WHERE 1 AND kb_number(\"Premia\",'Premia.Premia')*2 > 1");
    changed("sum", "SELECT sum(Premia) FROM Premia",
            "SELECT sum(kb_number(Premia,'Premia.Premia')) AS \"sum(Premia)\" FROM Premia");
    changed("quoted names", "SELECT \"Premia\".\"Premia\"+1 FROM \"Premia\"",
            "SELECT kb_number(\"Premia\".\"Premia\",'Premia.Premia')+1 AS \"\"\"Premia\"\".\"\"Premia\"\"+1\" "
            "FROM \"Premia\"");
    changed("join", "SELECT s.FIO FROM Sotr s JOIN Premia p ON p.IDSotr = s.ID WHERE p.Premia - 1 > 0",
            "SELECT s.FIO FROM Sotr s JOIN Premia p ON p.IDSotr = s.ID WHERE kb_number(p.Premia,'Premia.Premia') - 1 "
            "> 0");
    changed("subquery", "SELECT ID FROM Sotr WHERE ID IN (SELECT IDSotr FROM Premia WHERE Premia*1 > 5)",
            "SELECT ID FROM Sotr WHERE ID IN (SELECT IDSotr FROM Premia WHERE kb_number(Premia,'Premia.Premia')*1 > "
            "5)");
    changed("outer column in subquery", "SELECT FIO FROM Sotr s WHERE EXISTS (SELECT 1 FROM Premia WHERE s.INN*1 > 0)",
            "SELECT FIO FROM Sotr s WHERE EXISTS (SELECT 1 FROM Premia WHERE kb_number(s.INN,'Sotr.INN')*1 > 0)");
    changed("case", "SELECT CASE WHEN Premia*1 > 0 THEN 1 END FROM Premia",
            "SELECT CASE WHEN kb_number(Premia,'Premia.Premia')*1 > 0 THEN 1 END AS \"CASE WHEN Premia*1 > 0 THEN 1 "
            "END\" FROM Premia");
    changed("update", "UPDATE Premia SET Premia = Premia*2 WHERE ID = 1",
            "UPDATE Premia SET Premia = kb_number(Premia,'Premia.Premia')*2 WHERE ID = 1");
    changed("salary statement bonus", "SELECT Premia.Premia*Stavka.Sum/100 FROM Stavka, Sotr, Premia, OtrChas",
            "SELECT kb_number(Premia.Premia,'Premia.Premia')*Stavka.Sum/100 AS \"Premia.Premia*Stavka.Sum/100\" "
            "FROM Stavka, Sotr, Premia, OtrChas");
}

void TestDialect::rewrite() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    TempDatabase db;
    QCOMPARE(kb::dialect::rewrite(sql, db.connection().columnTypes()), expected.isEmpty() ? sql : expected);
}

void TestDialect::rewriteKeepsColumnNames_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("salary statement") << QStringLiteral(
        "SELECT Sotr.FIO, Stavka.Sum, OtrChas.Count, ROUND(Stavka.Sum*OtrChas.Count/20), "
        "Stavka.Sum*0.12, \nStavka.Sum*0.01, Stavka.Sum*0.4, "
        "Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01, Premia.Premia*Stavka.Sum/100, "
        "Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01+Premia.Premia*Stavka.Sum/100\n"
        "FROM Stavka, Sotr, Premia, OtrChas\n"
        "WHERE Stavka.IDSotr = Sotr.ID and Sotr.ID  = Premia.IDSotr and Sotr.ID = OtrChas.IDSotr\n"
        "and Month(Premia.Data) = Month(:D1) and Year(Premia.Data) = Year(:D2)\n"
        "and Month(OtrChas.Data) = Month(:D3) and Year(OtrChas.Data) = Year(:D4)\n"
        "ORDER BY Sotr.FIO");
    QTest::newRow("spread over lines") << QStringLiteral("SELECT Premia\n  * 2, (-Premia) FROM Premia");
    QTest::newRow("with comment") << QStringLiteral("SELECT Premia /* percent */ * 2 FROM Premia");
    QTest::newRow("comment after the item") << QStringLiteral("SELECT Premia*2 /* twice */ , ID FROM Premia");
    QTest::newRow("line comment after the item") << QStringLiteral("SELECT ID, Premia*2 -- twice\n FROM Premia");
}

void TestDialect::rewriteKeepsColumnNames() {
    QFETCH(QString, sql);
    TempDatabase db;
    kb::Statement rewritten = kb::dialect::prepare(db.connection(), sql);
    kb::Statement native = db.connection().prepareNative(sql);
    QVERIFY(kb::dialect::rewrite(sql, db.connection().columnTypes()) != sql);
    QCOMPARE(rewritten.columnCount(), native.columnCount());
    for (int i = 0; i < native.columnCount(); ++i)
        QCOMPARE(rewritten.columnName(i), native.columnName(i));
}

QTEST_GUILESS_MAIN(TestDialect)
#include "tst_dialect.moc"
