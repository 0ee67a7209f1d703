// The export's conversation with the spreadsheet server, recorded call by call: the whole sequence, what a failure
// leaves, and the query afterwards.

#include "ExportFixture.h"
#include "ExportToExcel.h"
#include "RecordingServer.h"
#include "Statements.h"
#include "TestRows.h"

#include <QtTest>

using namespace kbtest;
namespace reports = kb::reports;

namespace {

QString quoted(const QString& text) {
    return QStringLiteral("Text \"%1\"").arg(text);
}

// The application, its workbook, the block bordered and centred, then the titles, each column 25 wide.
QStringList prologue(const QString& block) {
    QStringList calls =
        QStringLiteral("create Excel.Application|excel.Workbooks read()|workbooks.Add method()|"
                       "excel.Visible write(Bool true)|excel.Range indexed(Text \"%1\")|range.Select method()|"
                       "excel.Selection read()|selection.Borders read()|borders.LineStyle write(Int32 1)|"
                       "excel.Selection read()|selection.Borders read()|borders.Weight write(Int32 3)|"
                       "excel.Selection read()|selection.HorizontalAlignment write(Int32 3)")
            .arg(block)
            .split(u'|');
    const QStringList titles{"№", "ФИО", "Должность", "Дата рожд.", "Адрес", "Телефон", "Паспорт", "ИНН"};
    for (int i = 0; i < titles.size(); ++i)
        calls << QStringLiteral("excel.Range write(Text \"%1\", %2)")
                     .arg(QString(QChar(u'A' + i)) + u'1', quoted(titles[i]))
              << QStringLiteral("excel.Columns indexed(Int32 %1)").arg(i + 1)
              << QStringLiteral("columns.ColumnWidth write(Int32 25)");
    return calls;
}

QStringList dataRow(int row, const QStringList& values) {
    QStringList calls;
    for (int i = 0; i < values.size(); ++i)
        calls << QStringLiteral("excel.Range write(Text \"%1%2\", %3)").arg(QChar(u'A' + i)).arg(row).arg(values[i]);
    return calls;
}

QStringList employeeCalls() {
    const QString n = QStringLiteral("Null");
    return prologue(QStringLiteral("A1:H4")) +
           dataRow(2, {"Int32 1", quoted("Иванов Иван Иванович"), quoted("Бухгалтер"), "DateTime 1970-05-17 00:00:00",
                       quoted("ул. Ленина, 1"), quoted("22-33-44"), quoted("4501 123456"), quoted("770101010101")}) +
           dataRow(3, {"Int32 2", quoted("Петрова Анна Сергеевна"), quoted("Директор"), n, n, n, n, n}) +
           dataRow(4, {"Int32 4", quoted("Кузнецов Пётр"), quoted("Бухгалтер"), n, n, n, n, n});
}

// A recording server in a registry of its own.
struct Recorded : RecordingServer {
    kb::automation::ClassRegistry registry;
    Recorded() { registerIn(registry); }
};

} // namespace

class TestExportToExcel : public QObject {
    Q_OBJECT

private slots:
    // The whole conversation; afterwards every object is released and the query and the grid stand on the last record.
    void callLog_data() {
        columns<kb::reports::GridRequest, bool, QStringList>("request", "print", "expected");
        row("employee list", reports::employeeList(), false, employeeCalls());
        row("printed", reports::employeeList(), true,
            employeeCalls() + QStringList{"excel.ActiveSheet read()", "activesheet.PageSetup read()",
                                          "pagesetup.Orientation write(Int32 2)", "excel.Worksheets read()",
                                          "worksheets.PrintOut method()", "excel.DisplayAlerts write(Bool false)",
                                          "excel.Quit method()"});
        row("empty result", reports::nameSearch(QStringLiteral("Нет такого")), false,
            prologue(QStringLiteral("A1:H1")));
    }
    void callLog() {
        const auto [request, print, expected] =
            fetch<kb::reports::GridRequest, bool, QStringList>("request", "print", "expected");
        ExportFixture f;
        f.show(request);
        Recorded server;
        reports::exportToExcel(server.registry, f.query, f.grid, print);
        QCOMPARE(server.log(), expected);
        QCOMPARE(server.liveObjects(), 0);
        QCOMPARE(f.query.currentRow(), f.query.recordCount() - 1);
        QCOMPARE(f.grid.currentIndex().row(), f.query.recordCount() - 1);
    }

    // A refused call, or the closed query at the record count, ends the export there: nothing is called after it and
    // every object obtained so far is released.
    void failureStopsAndReleases_data() {
        columns<QString, bool, QString>("refused", "print", "lastCall");
        row("add", QStringLiteral("Add"), false, QStringLiteral("workbooks.Add method()"));
        row("printout", QStringLiteral("PrintOut"), true, QStringLiteral("worksheets.PrintOut method()"));
        row("closed query", QString(), false, QStringLiteral("excel.Visible write(Bool true)"));
    }
    void failureStopsAndReleases() {
        const auto [refused, print, lastCall] = fetch<QString, bool, QString>("refused", "print", "lastCall");
        ExportFixture f;
        if (!refused.isEmpty())
            f.show(reports::employeeList());
        Recorded server;
        server.refuse(refused);
        const QString error = refused.isEmpty() ? errorMessage([&] { f.query.recordCount(); })
                                                : QStringLiteral("Сервер отказал: ") + refused;
        QCOMPARE(errorMessage([&] { reports::exportToExcel(server.registry, f.query, f.grid, print); }), error);
        QCOMPARE(server.log().last(), lastCall);
        QCOMPARE(server.liveObjects(), 0);
    }
};

QTEST_MAIN(TestExportToExcel)
#include "tst_exporttoexcel.moc"
