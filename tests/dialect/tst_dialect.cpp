// The SQL dialect on a real database file and on the test server: Month and Year, ROUND, LIKE, the Russian collation,
// the strict conversion of text columns in arithmetic, the month conditions as ranges, and the rewrite that applies
// them.

#include "Connection.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "Dialect.h"
#include "PostgresRewrite.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <cmath>

using namespace Qt::StringLiterals;
using kb::sql::Value;
using namespace kbtest;

namespace {

Value t(const char* utf8) {
    return Value(QString::fromUtf8(utf8));
}

// What a statement that fails gives in the tables below: its message.
Value failed(const QString& message) {
    return Value(u"error: "_s + message);
}

// The first column of the first row of a statement sent through the dialect (or not); failed(message) when it fails.
Value evaluateOn(kb::sql::Connection& c, const QString& sql, const QList<Value>& values = {}, bool native = false) {
    try {
        kb::sql::Statement s = native ? c.prepareNative(sql) : kb::dialect::prepare(c, sql);
        for (int i = 0; i < values.size(); ++i)
            s.bind(i + 1, values[i]);
        return s.step() ? s.column(0) : Value();
    } catch (const kb::sql::DbError& e) {
        return failed(QString::fromUtf8(e.what()));
    }
}

} // namespace

class TestDialect : public QObject {
    Q_OBJECT
    TempDatabase expressions_; // for the statements that read no table
    std::unique_ptr<TempDatabase> serverExpressions_;

    // On the current row's engine.
    Value evaluate(const QString& sql, const QList<Value>& values = {}) {
        const Engine engine = std::get<0>(fetch<Engine>("engine"));
        if (engine == Engine::Server && !serverExpressions_)
            serverExpressions_ = std::make_unique<TempDatabase>(Engine::Server);
        return evaluateOn((engine == Engine::File ? expressions_ : *serverExpressions_).connection(), sql, values);
    }

private slots:
    // Month and Year of an ISO text or a day number, ROUND to whole numbers with halves to even, the strict conversion
    // of a text column in arithmetic (its rewrite below); a value that is no date or no number fails the statement.
    // A server's columns are typed: day numbers and malformed dates or numbers exist in files only.
    void functions_data() {
        columns<Engine, QString, Value>("engine", "expression", "expected");
        const auto date = [](const char* name, const char* value, const char* expected) {
            bothRow(name, u"Year(%1) || '-' || Month(%1)"_s.arg(QLatin1String(value)), t(expected));
        };
        date("iso date-time", "'2013-04-15 13:45:07'", "2013-4");
        date("fraction of a second cut, not rounded", "'2013-12-31 23:59:59.9999'", "2013-12");
        const auto dayNumber = [](const char* name, const char* value, const char* expected) {
            fileRow(name, u"Year(%1) || '-' || Month(%1)"_s.arg(QLatin1String(value)), t(expected));
        };
        dayNumber("day number", "41369.99", "2013-4");
        dayNumber("fraction rounding up to the next year", "41639.9999999999", "2014-1");
        dayNumber("before day zero, time forward", "-1.5", "1899-12");
        bothRow("date null", u"Month(NULL)"_s, Value());
        fileRow("29 February of a common year", u"Month('2013-02-29')"_s,
                failed("Функция Month: значение '2013-02-29' не является датой"));
        fileRow("day number too big", u"Year(1e9)"_s,
                failed("Функция Year: значение '1000000000.0' не является датой"));
        bothRow("half down to even", u"ROUND(50.5)"_s, Value(50.0));
        bothRow("half up to even", u"ROUND(51.5)"_s, Value(52.0));
        bothRow("small negative gives zero", u"ROUND(-0.4)"_s, Value(0.0));
        bothRow("integer gives real", u"ROUND(7)"_s, Value(7.0));
        fileRow("text number", u"ROUND('12,5')"_s, Value(12.0));
        bothRow("round null", u"ROUND(NULL)"_s, Value());
        bothRow("two arguments stay built-in", u"ROUND(2.567, 2)"_s, Value(2.57));
        fileRow("text that is no number", u"ROUND('12 5')"_s,
                failed("Функция ROUND: значение '12 5' не является числом"));
        const auto number = [](const char* name, const QString& stored, const Value& expected) {
            bothRow(name, u"kb_number(%1, 'Premia.Premia') * 2"_s.arg(stored), expected);
        };
        number("whole text", "'25'", Value(50));
        number("comma", "'12,5'", Value(25.0));
        number("decimal part makes it real", "'12,0'", Value(24.0));
        number("number null", "NULL", Value());
        for (const char* v : {"", "12,", "1e5", "1 000"})
            number(v[0] ? v : "empty", u"'%1'"_s.arg(QLatin1String(v)),
                   failed(u"Значение '%1' в поле Premia.Premia не является числом"_s.arg(QLatin1String(v))));
        fileRow("blob", u"kb_number(X'3235', 'Premia.Premia') * 2"_s,
                failed("Двоичное значение в поле Premia.Premia не является числом"));
    }
    void functions() {
        const auto [expression, expected] = fetch<QString, Value>("expression", "expected");
        // (the engine column picks the database in evaluate())
        const Value result = evaluate(u"SELECT "_s + expression);
        QCOMPARE(result, expected);
        QCOMPARE(std::signbit(result.toDouble()), std::signbit(expected.toDouble())); // no "-0"
    }

    // Each row also checks NOT LIKE, which gives the opposite or the same null or error.
    void like_data() {
        columns<Engine, Value, Value, Value, Value>("engine", "value", "pattern", "escape",
                                                    "expected"); // escape null: none
        const auto match = [](const char* name, const char* v, const char* p, int expected, const char* esc = nullptr) {
            bothRow(name, t(v), t(p), esc ? t(esc) : Value(), Value(expected));
        };
        match("cyrillic case", "Иванов Пётр", "иван%", 1);
        match("yo is not e", "Ёлкин", "елкин", 0);
        match("yo case", "Ёлкин", "ёлкин", 1);
        match("underscore is one code point", "Пётр", "П_тр", 1);
        match("needs backtracking", "aXbXc", "%X%X%X", 0);
        match("last part anchors", "abcbd", "%b_", 1);
        match("escaped percent", "100%", "100\\%", 1, "\\");
        match("backslash is no escape without ESCAPE", "a\\b", "a\\_", 1);
        match("sql text as data", "x' OR '1'='1", "%' OR '1'='1", 1);
        bothRow("null value", Value(), t("%"), Value(), Value());
        bothRow("number as text", Value(123), t("1_3"), Value(), Value(1));
        fileRow("escape of two characters", t("a"), t("a"), t("xy"),
                failed("ESCAPE в LIKE должен быть ровно одним символом"));
    }
    void like() {
        const auto [value, pattern, escape, expected] =
            fetch<Value, Value, Value, Value>("value", "pattern", "escape", "expected");
        const QString clause = escape.isNull() ? QString() : u" ESCAPE ?3"_s;
        const QList<Value> values =
            escape.isNull() ? QList<Value>{value, pattern} : QList<Value>{value, pattern, escape};
        QCOMPARE(evaluate(u"SELECT ?1 LIKE ?2"_s + clause, values), expected);
        QCOMPARE(evaluate(u"SELECT ?1 NOT LIKE ?2"_s + clause, values),
                 expected.kind() == Value::Kind::Integer ? Value(1 - expected.toInt()) : expected);
    }

    // Text columns order in Russian, Cyrillic before Latin, ё with е; equality ignores case but tells ё from е.
    void collation_data() {
        columns<Engine>("engine");
        for (Engine e : kEngines)
            newEngineRow(e, "russian");
    }
    void collation() {
        TempDatabase db(std::get<0>(fetch<Engine>("engine")));
        for (const char* name : {"Жуков", "ёжиков", "Егоров", "Ёлкин", "абрамов", "Борисов", "Smith", "ежов"})
            db.addDolznost(QString::fromUtf8(name));
        QStringList order;
        for (auto s =
                 kb::dialect::prepare(db.connection(), u"SELECT Nazvanie FROM Dolznost ORDER BY Dolznost.Nazvanie"_s);
             s.step();)
            order << s.column(0).text();
        QCOMPARE(order.join(u' '), QString::fromUtf8("абрамов Борисов Егоров ёжиков ежов Ёлкин Жуков Smith"));
        const std::pair<const char*, int> counts[] = {{"жУКОВ", 1}, {"ЁЛКИН", 1}, {"елкин", 0}, {"Жуко", 0}, {"", 0}};
        for (const auto& [name, count] : counts)
            QCOMPARE(evaluateOn(db.connection(), u"SELECT count(*) FROM Dolznost WHERE Dolznost.Nazvanie = :P1"_s,
                                {t(name)}),
                     Value(count));
    }

    void rewrite_data() {
        columns<QString, QString>("sql", "expected"); // empty: unchanged
        const auto same = [](const char* name, const char* sql) { row(name, sql, ""); };
        same("string literal, line comment", "SELECT 'Premia.Premia*2', Premia FROM Premia -- Premia*2");
        same("comparison, non-numeric function",
             "SELECT length(Premia.Premia) FROM Premia WHERE Premia = '2' AND Premia > 2");
        same("numeric column", "SELECT Stavka.Sum*2, Sum-1 FROM Stavka");
        same("ambiguous bare column, column of no table in FROM", "SELECT FIO*2, Premia*2 FROM Sotr a, Sotr b");
        row("qualified", "SELECT ID FROM Premia WHERE Premia.Premia * 1 > 10",
            "SELECT ID FROM Premia WHERE kb_number(Premia.Premia,'Premia.Premia') * 1 > 10");
        row("AS alias and lower case", "select 2*q.premia from premia as q",
            "select 2*kb_number(q.premia,'Premia.Premia') AS \"2*q.premia\" from premia as q");
        row("bare column of one of two tables", "SELECT Adres%2 FROM Stavka, Sotr",
            "SELECT kb_number(Adres,'Sotr.Adres')%2 AS \"Adres%2\" FROM Stavka, Sotr");
        row("unary minus", "SELECT -Premia.Premia, -(Premia) FROM Premia",
            "SELECT -kb_number(Premia.Premia,'Premia.Premia') AS \"-Premia.Premia\", "
            "-(kb_number(Premia,'Premia.Premia')) AS \"-(Premia)\" FROM Premia");
        row("sum", "SELECT sum(Premia) FROM Premia",
            "SELECT sum(kb_number(Premia,'Premia.Premia')) AS \"sum(Premia)\" FROM Premia");
        row("update", "UPDATE Premia SET Premia = Premia*2 WHERE ID = 1",
            "UPDATE Premia SET Premia = kb_number(Premia,'Premia.Premia')*2 WHERE ID = 1");
        row("month pair",
            "SELECT ID FROM Premia WHERE ID > 1 AND Month(Premia.Data) = Month(:D1) and "
            "Year(Premia.Data) = Year(:D2)",
            "SELECT ID FROM Premia WHERE ID > 1 AND Premia.Data >= kb_month_start(:D1, :D2) and Premia.Data < "
            "kb_month_end(:D1, :D2) and Month(Premia.Data) = Month(:D1) and Year(Premia.Data) = Year(:D2)");
        row("month pair, year first, in parentheses",
            "select 1 from OtrChas where (year(Data)==year(?2)\nAND MONTH(Data) = MONTH(?1))",
            "select 1 from OtrChas where (Data >= kb_month_start(?1, ?2) and Data < kb_month_end(?1, ?2) and "
            "year(Data)==year(?2)\nAND MONTH(Data) = MONTH(?1))");
        same("month pair under NOT, in BETWEEN, compared",
             "SELECT 1 FROM Premia WHERE NOT Month(Data) = Month(:A) AND "
             "Year(Data) = Year(:B) OR 1 BETWEEN 0 AND Month(Data) = Month(:A) AND Year(Data) = Year(:B) OR "
             "Month(Data) = Month(:A) AND Year(Data) = Year(:B) = 0");
        same("month pair in a select list, of two columns, of a text column, with bare ?",
             "SELECT Month(Data) = Month(:A) AND Year(Data) = Year(:B) FROM Premia WHERE Month(Data) = Month(:A) AND "
             "Year(ID) = Year(:B) OR Month(Premia) = Month(:A) AND Year(Premia) = Year(:B) OR Month(Data) = Month(?) "
             "AND Year(Data) = Year(?)");
    }
    // The month pairs as ranges find the rows Month and Year find, or fail alike: stored forms at a month's edges,
    // NULL, pickers of other forms. Premia and OtrChas hold the same values; `found` counts those of one table.
    void monthRanges_data() {
        columns<Engine, Value, Value, int>("engine", "month", "year", "found"); // -1: the statement fails
        const Value april(kb::sql::datetime::make(2013, 4, 15, 10, 30));
        bothRow("april 2013", april, april, 4);
        bothRow("december, up to the next year", t("2013-12-01"), t("2013-12-01"), 1);
        bothRow("month of one date, year of another", april, t("2012-01-01 00:00:00"), 1);
        fileRow("day numbers", Value(41379.5), Value(41379.5), 4);
        bothRow("last month of 9999", t("9999-12-31"), t("9999-12-31"), 1);
        bothRow("null picker", Value(), april, 0);
        fileRow("picker that is no date", t("15.04.2013"), april, -1);
    }
    void monthRanges() {
        const auto [engine, month, year, found] = fetch<Engine, Value, Value, int>("engine", "month", "year", "found");
        using kb::sql::datetime::make;
        TempDatabase db(engine);
        for (const Value& v : {Value(make(2013, 3, 31, 23, 59, 59)), Value(make(2013, 4, 1)),
                               t("2013-04-30 23:59:59.999"), t("2013-04-30"), t("2013-04-15T08:00"),
                               Value(make(2013, 5, 1)), Value(make(2012, 4, 15)), Value(make(2013, 12, 31, 23, 59, 59)),
                               Value(make(2014, 1, 1)), Value(), Value(make(9999, 12, 31, 23, 59, 59))}) {
            db.exec(u"INSERT INTO Premia (IDSotr, Data) VALUES (1, ?1)"_s, {v});
            db.exec(u"INSERT INTO OtrChas (IDSotr, Data) VALUES (1, ?1)"_s, {v});
        }
        const QString sql =
            (engine == Engine::File ? u"SELECT printf('%d %s', count(*), group_concat(t || ID, ' ')) "_s
                                    : u"SELECT count(*) || ' ' || coalesce(string_agg(t || ID, ' '), '') "_s) +
            u"FROM (SELECT 'P' AS t, ID FROM Premia WHERE Premia.IDSotr = 1 and Month(Premia.Data) = "
            "Month(:D1) and Year(Premia.Data) = Year(:D2) UNION ALL SELECT 'O', ID FROM OtrChas WHERE "
            "year(Data) = year(:D2) and month(Data) = month(:D1) ORDER BY t, ID) AS u"_s;
        const QString ranged = kb::dialect::rewrite(sql, db.connection().columnTypes());
        QCOMPARE(ranged.count(u"kb_month_end"_s), 2);
        // A server's typed column needs the range alone: the pair after it only misleads the planner.
        if (engine == Engine::Server)
            QVERIFY(!kb::dialect::serverRewrite(ranged, db.connection().columnTypes())
                         .sql.contains(u"month("_s, Qt::CaseInsensitive));
        const Value native = evaluateOn(db.connection(), sql, {month, year}, true);
        QCOMPARE(evaluateOn(db.connection(), sql, {month, year}), native);
        QCOMPARE(native.text().section(u' ', 0, 0), found < 0 ? u"error:"_s : QString::number(2 * found));
    }

    // A changed statement names its result columns as SQLite names the statement as written (the AS added above); a
    // rewritten statement stays as it is.
    void rewrite() {
        const auto [sql, expected] = fetch<QString, QString>("sql", "expected");
        const QString once = kb::dialect::rewrite(sql, expressions_.connection().columnTypes());
        QCOMPARE(once, expected.isEmpty() ? sql : expected);
        QCOMPARE(kb::dialect::rewrite(once, expressions_.connection().columnTypes()), once);
    }
};

QTEST_GUILESS_MAIN(TestDialect)
#include "tst_dialect.moc"
