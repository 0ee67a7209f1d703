// Timing of the program's statements on generated databases: the salary
// statement and the name search through the query object and the dialect,
// each against the same statement written for the engine alone (the salary
// statement also against its month conditions written by hand as date
// ranges), the opening of the employee table object, loading the data module
// and the first use of its largest table object; on the database file and,
// with a server, on the same rows in a database there, side by side. Then, on
// the file, what each record editor's table objects pay on opening
// (EditorOpening.h), the documents and the export of the largest statement
// into a spreadsheet file (ExportBench.h). Prints figures and ratios; asserts
// nothing.

#include "BenchDatabase.h"
#include "BenchServer.h"
#include "Connection.h"
#include "DataModule.h"
#include "DateTimeText.h"
#include "Dialect.h"
#include "DocumentsBench.h"
#include "EditorOpening.h"
#include "ExportBench.h"
#include "Figures.h"
#include "PostgresRewrite.h"
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
using kb::bench::runNative;
using kb::bench::Timing;
using kb::sql::Value;
namespace reports = kb::reports;

int runRequest(kb::dataset::Query& query, const kb::dataset::QueryRequest& request) {
    kb::dataset::openRequest(request, query);
    return query.recordCount();
}

// The statements as one would write them for the engine alone, without the
// dialect: the salary statement, the name search and a count of one month's
// bonuses, each with positional parameters (every date one text of April 2013).
struct NativeSql {
    QString salary;
    QString nameSearch;
    QString monthCount;
};

const NativeSql kSqliteAlone{
    QStringLiteral(
        "SELECT Sotr.FIO, Stavka.Sum, OtrChas.Count, round(Stavka.Sum*OtrChas.Count/20, 0), Stavka.Sum*0.12, "
        "Stavka.Sum*0.01, Stavka.Sum*0.4, Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01, Premia.Premia*Stavka.Sum/100, "
        "Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01+Premia.Premia*Stavka.Sum/100\n"
        "FROM Stavka, Sotr, Premia, OtrChas\n"
        "WHERE Stavka.IDSotr = Sotr.ID and Sotr.ID = Premia.IDSotr and Sotr.ID = OtrChas.IDSotr\n"
        "and strftime('%m', Premia.Data) = strftime('%m', ?1) and strftime('%Y', Premia.Data) = strftime('%Y', ?2)\n"
        "and strftime('%m', OtrChas.Data) = strftime('%m', ?3) and strftime('%Y', OtrChas.Data) = strftime('%Y', ?4)\n"
        "ORDER BY Sotr.FIO"),
    QStringLiteral("SELECT Sotr.ID, Sotr.FIO, Dolznost.Nazvanie, Sotr.DataR, Sotr.Adres, Sotr.Telefon, Sotr.Passport, "
                   "Sotr.INN\nFROM Sotr, Dolznost\nWHERE Dolznost.ID = Sotr.IDDolznost and instr(Sotr.FIO, ?1) > 0"),
    QStringLiteral("SELECT COUNT(*) FROM Premia WHERE strftime('%m', Data) = strftime('%m', ?1) AND strftime('%Y', "
                   "Data) = strftime('%Y', ?2)")};

// On the server the bonus text needs a cast (a comma as decimal point), and a
// substring search needs a deterministic collation.
const NativeSql kPostgresAlone{
    QStringLiteral("SELECT Sotr.FIO, Stavka.Sum, OtrChas.Count, round(Stavka.Sum*OtrChas.Count/20), Stavka.Sum*0.12, "
                   "Stavka.Sum*0.01, Stavka.Sum*0.4, Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01, "
                   "replace(Premia.Premia COLLATE \"C\", ',', '.')::float8*Stavka.Sum/100, "
                   "Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01+replace(Premia.Premia COLLATE \"C\", ',', "
                   "'.')::float8*Stavka.Sum/100\n"
                   "FROM Stavka, Sotr, Premia, OtrChas\n"
                   "WHERE Stavka.IDSotr = Sotr.ID and Sotr.ID = Premia.IDSotr and Sotr.ID = OtrChas.IDSotr\n"
                   "and extract(month from Premia.Data) = extract(month from ?1::timestamp) "
                   "and extract(year from Premia.Data) = extract(year from ?2::timestamp)\n"
                   "and extract(month from OtrChas.Data) = extract(month from ?3::timestamp) "
                   "and extract(year from OtrChas.Data) = extract(year from ?4::timestamp)\n"
                   "ORDER BY Sotr.FIO"),
    QStringLiteral("SELECT Sotr.ID, Sotr.FIO, Dolznost.Nazvanie, Sotr.DataR, Sotr.Adres, Sotr.Telefon, Sotr.Passport, "
                   "Sotr.INN\nFROM Sotr, Dolznost\nWHERE Dolznost.ID = Sotr.IDDolznost and strpos(Sotr.FIO COLLATE "
                   "\"C\", ?1) > 0"),
    QStringLiteral("SELECT COUNT(*) FROM Premia WHERE extract(month from Data) = extract(month from ?1::timestamp) "
                   "AND extract(year from Data) = extract(year from ?2::timestamp)")};

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

// The engine's plan of a statement prepared as it is (rewritten already),
// with the request's values bound by name; on a server the plan as run
// (EXPLAIN ANALYZE), with the rows and times of each step.
void printPlan(const kb::sql::Connection& connection, const QString& title, const QString& sql,
               const std::vector<kb::dataset::ParamBinding>& bindings) {
    std::printf("  plan of %s on the %s:\n", title.toUtf8().constData(), connection.isServer() ? "server" : "file");
    const bool server = connection.isServer();
    kb::sql::Statement plan = connection.prepareNative(
        (server ? QStringLiteral("EXPLAIN ANALYZE ") : QStringLiteral("EXPLAIN QUERY PLAN ")) + sql);
    for (const kb::dataset::ParamBinding& b : bindings) { // by name, or by number for ?1..?N
        bool numbered = false;
        const int number = b.name.toInt(&numbered);
        if (const int index = numbered ? number : plan.parameterIndex(QLatin1Char(':') + b.name); index > 0)
            plan.bind(index, b.value);
    }
    while (plan.step())
        std::printf("    %s\n", plan.column(server ? 0 : 3).text().toUtf8().constData());
}

// A statement as the dialect sends it to the engine.
QString asSent(const kb::sql::Connection& connection, const QStringList& lines) {
    const QString sql = kb::dialect::rewrite(lines.join(QLatin1Char('\n')), connection.columnTypes());
    return connection.isServer() ? kb::dialect::serverRewrite(sql, connection.columnTypes()).sql : sql;
}

void printPlans(const kb::sql::Connection& connection, const reports::GridRequest& salary,
                const reports::GridRequest& ranges, const NativeSql& native, const Value& aprilText) {
    printPlan(connection, QStringLiteral("the salary statement as sent"), asSent(connection, salary.sql),
              salary.bindings);
    printPlan(connection, QStringLiteral("the salary statement with hand-written date ranges"),
              asSent(connection, ranges.sql), ranges.bindings);
    std::vector<kb::dataset::ParamBinding> positional;
    for (const char* n : {"1", "2", "3", "4"})
        positional.push_back({QString::fromLatin1(n), kb::dataset::ParamBinding::Kind::Text, aprilText});
    printPlan(connection, QStringLiteral("the salary statement for the engine alone"), native.salary, positional);
}

// The measurements that go through the data layer only, on the database of
// that name: the same on every engine.
kb::bench::Figures measureEngine(const QString& name, int employees, int runs, bool plans, const QString& pragma) {
    const std::unique_ptr<kb::sql::Connection> opened = kb::bench::openBenchDatabase(name);
    kb::sql::Connection& connection = *opened;
    if (!pragma.isEmpty() && !connection.isServer())
        connection.execute(QStringLiteral("PRAGMA ") + pragma);
    const NativeSql& native = connection.isServer() ? kPostgresAlone : kSqliteAlone;
    kb::bench::Figures figures;
    kb::dataset::Query query(connection);
    const QDateTime april = kb::sql::datetime::make(2013, 4, 15, 10, 30);
    const Value aprilText(kb::sql::datetime::toIso(april));

    const reports::GridRequest salary = reports::salaryStatement(april);
    const reports::GridRequest ranges = salaryWithRanges(kb::sql::datetime::make(2013, 4, 1));
    const Timing ours = measure(runs, [&] { return runRequest(query, salary); });
    const Timing ranged = measure(runs, [&] { return runRequest(query, ranges); });
    const Timing alone = measure(runs, [&] {
        return runNative(connection, native.salary, {aprilText, aprilText, aprilText, aprilText});
    });
    figures.row("salary statement, query object and dialect", ours,
                employees <= 1000 ? "target < 30 ms" : "target < 300 ms");
    figures.row("salary statement, hand-written date ranges", ranged, "");
    figures.ratio("month conditions cost ratio", ours, ranged, "target <= 1.3");
    figures.row("salary statement, the engine alone", alone, "");
    figures.ratio("dialect cost ratio", ours, alone, "target <= 1.5");

    const QString fn = QStringLiteral("SELECT COUNT(*) FROM Premia WHERE Month(Data) = Month(?1) AND Year(Data) = "
                                      "Year(?2)");
    const auto count = [&](kb::sql::Statement statement) {
        statement.bind(1, aprilText);
        statement.bind(2, aprilText);
        statement.step();
        return int(statement.column(0).toInt());
    };
    const Timing monthYear = measure(runs, [&] { return count(kb::dialect::prepare(connection, fn)); });
    const Timing own = measure(runs, [&] { return count(connection.prepareNative(native.monthCount)); });
    figures.row("count of April 2013 bonuses, Month/Year", monthYear, "");
    figures.row("count of April 2013 bonuses, engine's own", own, "");

    const reports::GridRequest search = reports::nameSearch(QStringLiteral("ов"));
    const Timing searchOurs = measure(runs, [&] { return runRequest(query, search); });
    const Timing searchAlone =
        measure(runs, [&] { return runNative(connection, native.nameSearch, {Value(QStringLiteral("ов"))}); });
    figures.row("name search, query object and LIKE", searchOurs, "");
    figures.row("name search, the engine's substring search", searchAlone, "");
    figures.ratio("dialect cost ratio", searchOurs, searchAlone, "");

    const Timing table = measure(runs, [&] {
        kb::dataset::Table sotr(connection, kb::dataset::schema::table(QStringLiteral("Sotr")));
        sotr.open();
        return sotr.recordCount();
    });
    const Timing tableAlone =
        measure(runs, [&] { return runNative(connection, QStringLiteral("SELECT * FROM Sotr"), {}); });
    figures.row("opening the Sotr table object", table, employees >= 10000 ? "target < 50 ms" : "");
    figures.row("SELECT * FROM Sotr, the engine alone", tableAlone, "");
    figures.ratio("table object cost ratio", table, tableAlone, "");

    // The data module opens its own connection and its five table objects, as
    // at start-up; freeing it is not timed. The count shown is that of the
    // table objects left open.
    std::unique_ptr<kb::dataset::TDataM> module;
    const auto freeModule = [&] { module.reset(); };
    const Timing load = measure(
        runs,
        [&] {
            module = std::make_unique<kb::dataset::TDataM>(nullptr, name);
            const kb::dataset::Table* tables[] = {module->staffTable, module->positionTable, module->salaryRateTable,
                                                  module->bonusTable, module->daysWorkedTable};
            return int(std::count_if(std::begin(tables), std::end(tables), [](auto* t) { return t->isActive(); }));
        },
        freeModule);
    figures.row("load the data module (TDataM)", load, "target < 200 ms", "tables");
    // What a record editor over the bonuses pays on opening: the module
    // loaded, then the Premia snapshot taken (its count, least and greatest ID, and first page).
    const Timing premia = measure(
        runs,
        [&] {
            module = std::make_unique<kb::dataset::TDataM>(nullptr, name);
            return module->bonusTable->recordCount();
        },
        freeModule);
    figures.row("load the module and open Premia", premia, "");

    if (plans)
        printPlans(connection, salary, ranges, native, aprilText);
    return figures;
}

// The data layer's figures on the file and, when a server is named, on the
// same rows there, side by side; then what runs on the file only: the record
// editors (their forms need widgets and copies of the file), the documents and
// the export.
void benchSize(const QString& folder, const QString& server, int employees, int runs, bool plans, bool editorsOnly,
               const QString& pragma) {
    const QString file = kb::bench::benchDatabase(folder, employees);
    std::printf("\n%d employees, %d months of bonuses and days (%s)\n", employees,
                (kb::bench::kLastYear - kb::bench::kFirstYear + 1) * 12, file.toUtf8().constData());
    if (!editorsOnly) {
        QStringList engines{QStringLiteral("SQLite file")};
        std::vector<kb::bench::Figures> columns{measureEngine(file, employees, runs, plans, pragma)};
        if (!server.isEmpty()) {
            engines << QStringLiteral("PostgreSQL server");
            columns.push_back(
                measureEngine(kb::bench::serverBenchDatabase(server, file), employees, runs, plans, pragma));
        }
        kb::bench::printSideBySide(engines, columns);
    }
    if (!server.isEmpty())
        std::printf("  (the rest on the file only)\n");
    kb::bench::benchEditors(file, runs, employees >= 10000);
    const std::unique_ptr<kb::sql::Connection> connection = kb::bench::openBenchDatabase(file);
    if (employees == 1000)
        kb::bench::benchDocuments(*connection, runs);
    if (employees >= 10000 && !editorsOnly)
        kb::bench::benchExport(*connection, runs);
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
    QString server;
    bool temporaryServer = false;
    int runs = 9;
    QList<int> sizes{1000, 10000};
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--runs=")))
            runs = std::max(1, arg.mid(7).toInt());
        else if (arg.startsWith(QLatin1String("--data=")))
            folder = arg.mid(7);
        else if (arg.startsWith(QLatin1String("--pragma=")))
            pragma = arg.mid(9);
        else if (arg.startsWith(QLatin1String("--server=")) && arg.size() > 9)
            server = arg.mid(9);
        else if (arg == QLatin1String("--engine=server"))
            temporaryServer = true;
        else if (arg == QLatin1String("--engine=file"))
            temporaryServer = false;
        else if (arg.startsWith(QLatin1String("--sizes="))) {
            sizes.clear();
            for (const QString& n : arg.mid(8).split(QLatin1Char(',')))
                sizes << n.toInt();
        } else {
            std::fprintf(stderr,
                         "Использование: kultbuh-bench [--runs=N] [--sizes=1000,10000] [--plan] [--editors] "
                         "[--pragma=NAME=VALUE] [--data=FOLDER] [--engine=file|server] [--server=ПОДКЛЮЧЕНИЕ]\n"
                         "  --engine=server: ещё и на временном сервере PostgreSQL, запущенном на время замера\n"
                         "  --server=ПОДКЛЮЧЕНИЕ: ещё и на этом сервере (строка libpq); базы замера остаются "
                         "на нём для следующих запусков\n");
            return 2;
        }
    }
    try {
        std::printf("kultbuh benchmark: median of %d runs after one warm-up run (wall clock, processor time)\n", runs);
        std::unique_ptr<kb::bench::TemporaryServer> started;
        if (temporaryServer && server.isEmpty()) {
            started = std::make_unique<kb::bench::TemporaryServer>(folder + QStringLiteral("/server"));
            server = started->connection();
        }
        for (int employees : sizes)
            benchSize(folder, server, employees, runs, plans, editorsOnly, pragma);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
