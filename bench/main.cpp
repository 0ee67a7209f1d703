// Timing of the program's statements on generated databases: the salary
// statement and the name search through the query object and the dialect,
// each against the same statement written for SQLite itself (the salary
// statement also against its month conditions written by hand as date ranges), the opening of
// the employee table object, loading the data module and the first use of its
// largest table object, and what each record editor's table objects pay on
// opening (EditorOpening.h), and the export of the largest statement into a
// spreadsheet file (ExportBench.h). Prints figures and ratios; asserts nothing.

#include "BenchDatabase.h"
#include "Connection.h"
#include "DataModule.h"
#include "DateTimeText.h"
#include "Dialect.h"
#include "DocumentsBench.h"
#include "EditorOpening.h"
#include "ExportBench.h"
#include "Query.h"
#include "QueryRequest.h"
#include "Schema.h"
#include "Statements.h"
#include "Table.h"
#include "Timing.h"

#include <QApplication>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using kb::bench::measure;
using kb::bench::printRatio;
using kb::bench::printRow;
using kb::bench::runNative;
using kb::bench::Timing;
using kb::sql::Value;
namespace reports = kb::reports;

int runRequest(kb::dataset::Query& query, const kb::dataset::QueryRequest& request) {
    kb::dataset::openRequest(request, query);
    return query.recordCount();
}

// The salary statement as one would write it for SQLite alone.
const QString kNativeSalary = QStringLiteral(
    "SELECT Sotr.FIO, Stavka.Sum, OtrChas.Count, round(Stavka.Sum*OtrChas.Count/20, 0), Stavka.Sum*0.12, "
    "Stavka.Sum*0.01, Stavka.Sum*0.4, Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01, Premia.Premia*Stavka.Sum/100, "
    "Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01+Premia.Premia*Stavka.Sum/100\n"
    "FROM Stavka, Sotr, Premia, OtrChas\n"
    "WHERE Stavka.IDSotr = Sotr.ID and Sotr.ID = Premia.IDSotr and Sotr.ID = OtrChas.IDSotr\n"
    "and strftime('%m', Premia.Data) = strftime('%m', ?1) and strftime('%Y', Premia.Data) = strftime('%Y', ?2)\n"
    "and strftime('%m', OtrChas.Data) = strftime('%m', ?3) and strftime('%Y', OtrChas.Data) = strftime('%Y', ?4)\n"
    "ORDER BY Sotr.FIO");

// The salary statement with its month conditions written by hand as date
// ranges, from the first day of the month to the first of the next: the form
// the indexes on (IDSotr, Data) serve best. Same select list, same query object
// and dialect, so the two figures differ only in how the month is found.
reports::GridRequest salaryWithRanges(const QDateTime& firstDay) {
    reports::GridRequest request = reports::salaryStatement(firstDay);
    int replaced = 0;
    for (QString& line : request.sql) {
        for (const char* table : {"Premia", "OtrChas"}) {
            if (line.startsWith(QStringLiteral("and Month(%1.Data)").arg(table))) {
                line = QStringLiteral("and %1.Data >= :First and %1.Data < :Next").arg(table);
                ++replaced;
            }
        }
    }
    if (replaced != 2)
        throw std::runtime_error("Условия месяца в ведомости зарплаты не там, где их ищет замер");
    using Kind = kb::dataset::ParamBinding::Kind;
    request.bindings = {{QStringLiteral("First"), Kind::DateTime, Value(firstDay)},
                        {QStringLiteral("Next"), Kind::DateTime, Value(firstDay.addMonths(1))}};
    return request;
}

const QString kNativeNameSearch =
    QStringLiteral("SELECT Sotr.ID, Sotr.FIO, Dolznost.Nazvanie, Sotr.DataR, Sotr.Adres, Sotr.Telefon, Sotr.Passport, "
                   "Sotr.INN\nFROM Sotr, Dolznost\nWHERE Dolznost.ID = Sotr.IDDolznost and instr(Sotr.FIO, ?1) > 0");

void printPlan(const kb::sql::Connection& connection, const QString& title, const QString& sql) {
    std::printf("  plan of %s:\n", title.toUtf8().constData());
    kb::sql::Statement plan = connection.prepareNative(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    while (plan.step())
        std::printf("    %s\n", plan.column(3).text().toUtf8().constData());
}

void benchSize(const QString& folder, int employees, int runs, bool plans, bool editorsOnly, const QString& pragma) {
    const QString file = kb::bench::benchDatabase(folder, employees);
    const std::unique_ptr<kb::sql::Connection> opened = kb::bench::openBenchDatabase(file);
    kb::sql::Connection& connection = *opened;
    if (!pragma.isEmpty())
        connection.execute(QStringLiteral("PRAGMA ") + pragma);
    kb::dataset::Query query(connection);
    const QDateTime april = kb::sql::datetime::make(2013, 4, 15, 10, 30);
    const Value aprilText(kb::sql::datetime::toIso(april));
    std::printf("\n%d employees, %d months of bonuses and days (%s)\n", employees,
                (kb::bench::kLastYear - kb::bench::kFirstYear + 1) * 12, file.toUtf8().constData());
    if (editorsOnly) {
        kb::bench::benchEditors(file, runs, employees >= 10000);
        if (employees == 1000)
            kb::bench::benchDocuments(connection, runs);
        return;
    }

    const reports::GridRequest salary = reports::salaryStatement(april);
    const reports::GridRequest ranges = salaryWithRanges(kb::sql::datetime::make(2013, 4, 1));
    const Timing ours = measure(runs, [&] { return runRequest(query, salary); });
    const Timing ranged = measure(runs, [&] { return runRequest(query, ranges); });
    const Timing native = measure(runs, [&] {
        return runNative(connection, kNativeSalary, {aprilText, aprilText, aprilText, aprilText});
    });
    printRow("salary statement, query object and dialect", ours,
             employees <= 1000 ? "target < 30 ms" : "target < 300 ms");
    printRow("salary statement, hand-written date ranges", ranged, "");
    printRatio("month conditions cost ratio", ours, ranged, "target <= 1.3");
    printRow("salary statement, SQLite alone", native, "");
    printRatio("dialect cost ratio", ours, native, "target <= 1.5");

    const QString fn = QStringLiteral("SELECT COUNT(*) FROM Premia WHERE Month(Data) = Month(?1) AND Year(Data) = "
                                      "Year(?2)");
    const QString fnNative = QStringLiteral("SELECT COUNT(*) FROM Premia WHERE strftime('%m', Data) = strftime('%m', "
                                            "?1) AND strftime('%Y', Data) = strftime('%Y', ?2)");
    const auto count = [&](kb::sql::Statement statement) {
        statement.bind(1, aprilText);
        statement.bind(2, aprilText);
        statement.step();
        return int(statement.column(0).toInt());
    };
    const Timing monthYear = measure(runs, [&] { return count(kb::dialect::prepare(connection, fn)); });
    const Timing strftime = measure(runs, [&] { return count(connection.prepareNative(fnNative)); });
    printRow("count of April 2013 bonuses, Month/Year", monthYear, "");
    printRow("count of April 2013 bonuses, strftime", strftime, "");

    const reports::GridRequest search = reports::nameSearch(QStringLiteral("ов"));
    const Timing searchOurs = measure(runs, [&] { return runRequest(query, search); });
    const Timing searchNative =
        measure(runs, [&] { return runNative(connection, kNativeNameSearch, {Value(QStringLiteral("ов"))}); });
    printRow("name search, query object and LIKE", searchOurs, "");
    printRow("name search, SQLite instr()", searchNative, "");
    printRatio("dialect cost ratio", searchOurs, searchNative, "");

    const Timing table = measure(runs, [&] {
        kb::dataset::Table sotr(connection, kb::dataset::schema::table(QStringLiteral("Sotr")));
        sotr.open();
        return sotr.recordCount();
    });
    const Timing tableNative =
        measure(runs, [&] { return runNative(connection, QStringLiteral("SELECT * FROM Sotr"), {}); });
    printRow("opening the Sotr table object", table, employees >= 10000 ? "target < 50 ms" : "");
    printRow("SELECT * FROM Sotr, SQLite alone", tableNative, "");
    printRatio("table object cost ratio", table, tableNative, "");

    // The data module opens its own connection and its five table objects, as
    // at start-up; freeing it is not timed. The count shown is that of the
    // table objects left open.
    std::unique_ptr<kb::dataset::TDataM> module;
    const auto freeModule = [&] { module.reset(); };
    const Timing load = measure(
        runs,
        [&] {
            module = std::make_unique<kb::dataset::TDataM>(nullptr, file);
            const kb::dataset::Table* tables[] = {module->staffTable, module->positionTable, module->salaryRateTable,
                                                  module->bonusTable, module->daysWorkedTable};
            return int(std::count_if(std::begin(tables), std::end(tables), [](auto* t) { return t->isActive(); }));
        },
        freeModule);
    printRow("load the data module (TDataM)", load, "target < 200 ms", "tables");
    // What a record editor over the bonuses pays on opening: the module
    // loaded, then the Premia snapshot taken (its count, least and greatest ID, and first page).
    const Timing premia = measure(
        runs,
        [&] {
            module = std::make_unique<kb::dataset::TDataM>(nullptr, file);
            return module->bonusTable->recordCount();
        },
        freeModule);
    printRow("load the module and open Premia", premia, "");

    kb::bench::benchEditors(file, runs, employees >= 10000);
    if (employees == 1000)
        kb::bench::benchDocuments(connection, runs);
    if (employees >= 10000)
        kb::bench::benchExport(connection, runs);

    if (plans) {
        printPlan(
            connection, QStringLiteral("the salary statement as sent"),
            kb::dialect::rewrite(reports::salaryStatementSql().join(QLatin1Char('\n')), connection.columnTypes()));
        printPlan(connection, QStringLiteral("the salary statement with hand-written date ranges"),
                  ranges.sql.join(QLatin1Char('\n')));
        printPlan(connection, QStringLiteral("the native salary statement"), kNativeSalary);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // The export fills a result grid, a widget: without a screen it is drawn nowhere.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool plans = args.removeAll(QStringLiteral("--plan")) > 0;
    const bool editorsOnly = args.removeAll(QStringLiteral("--editors")) > 0;
    QString pragma;
    QString folder = QStringLiteral(KULTBUH_BENCH_DATA);
    int runs = 9;
    QList<int> sizes{1000, 10000};
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--runs=")))
            runs = std::max(1, arg.mid(7).toInt());
        else if (arg.startsWith(QLatin1String("--data=")))
            folder = arg.mid(7);
        else if (arg.startsWith(QLatin1String("--pragma=")))
            pragma = arg.mid(9);
        else if (arg.startsWith(QLatin1String("--sizes="))) {
            sizes.clear();
            for (const QString& n : arg.mid(8).split(QLatin1Char(',')))
                sizes << n.toInt();
        } else {
            std::fprintf(stderr, "Использование: kultbuh-bench [--runs=N] [--sizes=1000,10000] [--plan] [--editors] "
                                 "[--pragma=NAME=VALUE] [--data=FOLDER]\n");
            return 2;
        }
    }
    try {
        std::printf("kultbuh benchmark: median of %d runs after one warm-up run (wall clock, best, processor time)\n",
                    runs);
        for (int employees : sizes)
            benchSize(folder, employees, runs, plans, editorsOnly, pragma);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
