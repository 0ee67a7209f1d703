#include "ExportBench.h"

#include "ClassRegistry.h"
#include "DataSource.h"
#include "DateTimeText.h"
#include "ExportToExcel.h"
#include "GridQueryRun.h"
#include "Query.h"
#include "ResultGrid.h"
#include "SpreadsheetServer.h"
#include "Statements.h"
#include "Timing.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>
#include <xlsxwriter.h>

namespace kb::bench {

namespace {

// The cells of the grid's result written straight with libxlsxwriter: the
// titles, then every value by type, all with a medium border and centred,
// columns 25 wide.
int writeDirectly(const dataset::Query& query, const databound::ResultGrid& grid, const QString& path) {
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Лист1");
    lxw_format* cell = workbook_add_format(workbook);
    format_set_border(cell, LXW_BORDER_MEDIUM);
    format_set_align(cell, LXW_ALIGN_CENTER);
    lxw_format* date = workbook_add_format(workbook);
    format_set_border(date, LXW_BORDER_MEDIUM);
    format_set_align(date, LXW_ALIGN_CENTER);
    format_set_num_format(date, "dd.mm.yyyy");
    const int fields = query.fieldCount();
    for (int c = 0; c < fields; ++c) {
        worksheet_write_string(sheet, 0, lxw_col_t(c), grid.columnTitle(c).toUtf8().constData(), cell);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), 25, nullptr);
    }
    const int records = query.recordCount();
    for (int r = 0; r < records; ++r) {
        for (int c = 0; c < fields; ++c) {
            const sql::Value v = query.value(r, c);
            const auto row = lxw_row_t(r + 1);
            const auto col = lxw_col_t(c);
            switch (v.kind()) {
            case sql::Value::Kind::Integer:
            case sql::Value::Kind::Float:
                worksheet_write_number(sheet, row, col, v.toDouble(), cell);
                break;
            case sql::Value::Kind::Text:
                worksheet_write_string(sheet, row, col, v.text().toUtf8().constData(), cell);
                break;
            case sql::Value::Kind::DateTime: {
                const QDateTime t = v.toDateTime();
                lxw_datetime when{t.date().year(), t.date().month(), t.date().day(), 0, 0, 0};
                worksheet_write_datetime(sheet, row, col, &when, date);
                break;
            }
            case sql::Value::Kind::Null:
                worksheet_write_blank(sheet, row, col, cell);
                break;
            }
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR)
        throw std::runtime_error("libxlsxwriter could not write the workbook");
    return records;
}

} // namespace

void benchExport(sql::Connection& connection, int runs) {
    dataset::Query query(connection);
    dataset::DataSource source(&query);
    databound::ResultGrid grid;
    grid.setDataSource(&source);
    reports::runGridQuery(reports::salaryStatement(sql::datetime::make(2013, 4, 15, 10, 30)), query, grid, [] {});

    QTemporaryDir folder;
    // Workbooks go to the temporary folder and are opened by nothing.
    struct BenchDesktop : spreadsheet::DesktopSeams {
        QString path;
        std::unique_ptr<QPrinter> defaultPrinter() override { return nullptr; }
        bool openWorkbook(const QString&) override { return true; }
        void tell(const QString& message) override { std::fprintf(stderr, "%s\n", message.toUtf8().constData()); }
        QString workbookFolder() override { return path; }
    };
    auto desktop = std::make_shared<BenchDesktop>();
    desktop->path = folder.path();
    automation::ClassRegistry registry;
    spreadsheet::registerSpreadsheetServer(registry, desktop);
    const auto removeFiles = [&folder] {
        for (const QString& name : QDir(folder.path()).entryList(QDir::Files))
            QFile::remove(folder.filePath(name));
    };

    std::printf("\n  export of the salary statement, %d columns, into .xlsx\n", query.fieldCount());
    const Timing ours = measure(
        runs,
        [&] {
            reports::exportToExcel(registry, query, grid, false);
            return query.recordCount();
        },
        removeFiles);
    const Timing direct = measure(
        runs, [&] { return writeDirectly(query, grid, folder.filePath(QStringLiteral("direct.xlsx"))); }, removeFiles);
    printRow("ExportToExcel, one automation call per cell", ours, "(target < 1500 ms)");
    printRow("the same cells written with libxlsxwriter", direct, "");
    printRatio("ratio", ours, direct, "(target <= 1.5)");
}

} // namespace kb::bench
