// The statements of the grid handlers and the pay slip on one known database: which rows they give, what they compute.

#include "GridQueryRun.h"
#include "Query.h"
#include "StatementFixtures.h"
#include "Statements.h"
#include "TestRows.h"
#include "ValueText.h"

using kb::sql::Value;
using namespace kbtest;
namespace reports = kb::reports;

namespace {
constexpr int NameSearch = 0, PositionSearch = 1, EmployeeList = 2, PaySlipCheck = 3;

// The rows of an open query in the values' default text form, or one column.
QStringList rowsOf(const kb::dataset::Query& query, int column = -1) {
    QStringList rows;
    for (int r = 0; r < query.recordCount(); ++r) {
        QStringList values;
        for (int c = 0; c < query.fieldCount(); ++c)
            values << kb::text::display(query.value(r, c));
        rows << (column < 0 ? values.join(u'|') : values.at(column));
    }
    return rows;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}
} // namespace

class TestStatements : public QObject {
    Q_OBJECT
    kbtest::StatementDb db_;
    kb::dataset::Query query_{db_.connection()};

private slots:
    // The salary staff have no position, so the employee statements skip them. Each has one rate, an April 2013 bonus
    // at the month's first moment and days worked at its last second.
    void initTestCase() {
        kbtest::StatementDb& db = db_;
        const auto paid = [&db](const char* fio, double rate, int days, const QString& bonus, int month = 4) {
            const qint64 id = db.addSotr(QString::fromUtf8(fio));
            db.addStavka(id, rate);
            db.addPremia(id, at(2013, month, 1), bonus);
            db.addOtrChas(id, days, at(2013, month, 1).addMonths(1).addSecs(-1));
            return id;
        };
        // The names also try the Russian order: a small letter, Е before Ё, Ё before Ж.
        paid("абрамов Юрий", 1234, 3, QStringLiteral("10"));   // 185.1: rounds down
        paid("Егоров Павел", 1010, 1, QStringLiteral("12,5")); // 50.5: half to even, down
        paid("Ежов Антон", 1030, 1, QStringLiteral("12.5"));   // 51.5: half to even, up
        paid("Ёлкин Пётр", 10000, 10, QStringLiteral(" 25 "));
        paid("Жуков Иван", 15000.5, 21, QStringLiteral("20"));
        const qint64 two = paid("Яковлев Олег", 1000, 20, QStringLiteral("10"));
        db.addStavka(two, 500);
        // Beside the month: before it, after it, a year later.
        db.addPremia(two, at(2013, 3, 31, 23, 59, 59), QStringLiteral("30"));
        db.addOtrChas(two, 19, at(2013, 5, 1));
        db.addPremia(two, at(2014, 4, 15), QStringLiteral("40"));
        db.addOtrChas(two, 18, at(2014, 4, 15));
        // Without a bonus, days or a rate in the month: not in the statement.
        for (const char* table : {"Premia", "OtrChas", "Stavka"})
            db.exec(QStringLiteral("DELETE FROM %1 WHERE IDSotr = ?1").arg(QLatin1String(table)),
                    {Value(paid("Без строки", 1000, 20, {}))});
        paid("Ошибкин", 1000, 20, QStringLiteral("много"), 3); // a bonus that is no number, in a month of its own

        // The employee statements' staff: a second Петров without a position, a lost position, no name.
        const Value librarian(db.addDolznost("Библиотекарь")), director(db.addDolznost("Директор"));
        db.addSotr("Иванов Иван Иванович", Value(db.addDolznost("Методист")));
        db.addSotr("Сидорова Анна Петровна", librarian);
        db.addSotr("Петров Пётр Ильич", director);
        db.addSotr("Ёлкина Ольга Николаевна", librarian);
        db.addSotr("Петров Пётр Ильич");
        db.addSotr("Потерянный Иван", Value(qint64(999)));
        db.insert("Sotr", {{"IDDolznost", director}});
    }

    // FIO, rate, days, accrued (rounded half to even), income, pension, advance, deducted, bonus, payable; by name.
    void salaryStatement_data() {
        columns<QDateTime, QStringList, QString>("picker", "expected", "error");
        const QStringList april{
            "абрамов Юрий|1234|3|185|148,08|12,34|493,6|1073,58|123,4|1196,98",
            "Егоров Павел|1010|1|50|121,2|10,1|404|878,7|126,25|1004,95",
            "Ежов Антон|1030|1|52|123,6|10,3|412|896,1|128,75|1024,85",
            "Ёлкин Пётр|10000|10|5000|1200|100|4000|8700|2500|11200",
            "Жуков Иван|15000,5|21|15751|1800,06|150,005|6000,2|13050,435|3000,1|16050,535",
            "Яковлев Олег|1000|20|1000|120|10|400|870|100|970",
            "Яковлев Олег|500|20|500|60|5|200|435|50|485",
        };
        const QStringList aYearLater{"Яковлев Олег|1000|18|900|120|10|400|870|400|1270",
                                     "Яковлев Олег|500|18|450|60|5|200|435|200|635"};
        row("April", at(2013, 4, 15, 10, 30), april, QString());
        row("May", at(2013, 5, 1), QStringList{}, QString());
        row("April a year later", at(2014, 4, 1), aYearLater, QString());
        row("bonus of letters fails", at(2013, 3, 5), QStringList{}, "много");
    }

    void salaryStatement() {
        const auto [picker, expected, error] = fetch<QDateTime, QStringList, QString>("picker", "expected", "error");
        const QString message = errorMessage([&] { reports::openRequest(reports::salaryStatement(picker), query_); });
        QVERIFY2(error.isNull() ? message.isNull() : message.contains(error) && !query_.isActive(),
                 qPrintable(message));
        if (!error.isNull())
            return;
        QCOMPARE(rowsOf(query_, 0),
                 QStringList(expected).replaceInStrings(QRegularExpression("\\|.*"), "")); // in order
        QCOMPARE(sorted(rowsOf(query_)), sorted(expected));
    }

    // The name search (a part of the name), the position search and the pay slip's check (the whole name in any
    // case), the employee list (everyone with a position).
    void employeeStatements_data() {
        columns<int, QString, QStringList>("statement", "text", "expected");
        const QString ivanov = "Иванов Иван Иванович", sidorova = "Сидорова Анна Петровна",
                      petrov = "Петров Пётр Ильич", yolkina = "Ёлкина Ольга Николаевна";
        row("name: empty", NameSearch, "", QStringList{ivanov, sidorova, petrov, yolkina});
        row("name: at the start and inside", NameSearch, "Петр", QStringList{sidorova, petrov});
        row("position: other case", PositionSearch, "бИБЛИОТЕКАРЬ", QStringList{sidorova, yolkina});
        row("position: no wildcard", PositionSearch, "Библиотек%", QStringList{});
        row("list", EmployeeList, "", QStringList{ivanov, sidorova, petrov, yolkina, ""});
        row("pay slip: no wildcard", PaySlipCheck, "Иванов%", QStringList{});
    }

    void employeeStatements() {
        const auto [statement, text, expected] = fetch<int, QString, QStringList>("statement", "text", "expected");
        reports::GridRequest request = statement == NameSearch     ? reports::nameSearch(text)
                                       : statement == EmployeeList ? reports::employeeList()
                                                                   : reports::positionSearch(text);
        if (statement == PaySlipCheck) // binds P1 to the name as typed, as the position search does
            request.sql = reports::paySlipCheckSql();
        reports::openRequest(request, query_);
        QCOMPARE(sorted(rowsOf(query_, statement == PaySlipCheck ? 0 : 1)), sorted(expected));
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
