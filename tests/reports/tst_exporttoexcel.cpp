// The export's conversation with the spreadsheet server, recorded call by call: the cells and the printing, what a
// failure leaves, and the query afterwards.

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

// The cells of one row as written, A, B, ... from the values' automation form.
QStringList cells(int row, const QStringList& values) {
    QStringList calls;
    for (int i = 0; i < values.size(); ++i)
        calls << QStringLiteral("excel.Range write(Text \"%1%2\", %3)").arg(QChar(u'A' + i)).arg(row).arg(values[i]);
    return calls;
}

QStringList titles() {
    QStringList titles{"№", "ФИО", "Должность", "Дата рожд.", "Адрес", "Телефон", "Паспорт", "ИНН"};
    return cells(1, titles.replaceInStrings(QRegularExpression("(.+)"), R"(Text "\1")"));
}

QStringList employeeCells() {
    const QString n = QStringLiteral("Null");
    return titles() +
           cells(2, {"Int32 1", quoted("Иванов Иван Иванович"), quoted("Бухгалтер"), "DateTime 1970-05-17 00:00:00",
                     quoted("ул. Ленина, 1"), quoted("22-33-44"), quoted("4501 123456"), quoted("770101010101")}) +
           cells(3, {"Int32 2", quoted("Петрова Анна Сергеевна"), quoted("Директор"), n, n, n, n, n}) +
           cells(4, {"Int32 4", quoted("Кузнецов Пётр"), quoted("Бухгалтер"), n, n, n, n, n});
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
    // Every cell written, by its value's type, and the printing; afterwards every object is released and the query
    // and the grid stand on the last record. (How the workbook looks is pinned by tst_spreadsheet on the file.)
    void callLog_data() {
        columns<kb::reports::GridRequest, bool, QStringList>("request", "print", "expected");
        row("employee list", reports::employeeList(), false, employeeCells());
        row("printed", reports::employeeList(), true,
            employeeCells() + QStringList{"pagesetup.Orientation write(Int32 2)", "worksheets.PrintOut method()",
                                          "excel.DisplayAlerts write(Bool false)", "excel.Quit method()"});
    }
    void callLog() {
        const auto [request, print, expected] =
            fetch<kb::reports::GridRequest, bool, QStringList>("request", "print", "expected");
        ExportFixture f;
        f.show(request);
        Recorded server;
        reports::exportToExcel(server.registry, f.query, f.grid, print);
        QCOMPARE(server.log().filter(QRegularExpression("^(excel.Range write|pagesetup|worksheets.P|excel.[DQ])")),
                 expected);
        QCOMPARE(server.liveObjects(), 0);
        QCOMPARE(f.query.currentRow(), f.query.recordCount() - 1);
        QCOMPARE(f.grid.currentIndex().row(), f.query.recordCount() - 1);
    }

    // A refused call, or the closed query at the record count, ends the export there: nothing is called after it and
    // every object obtained so far is released.
    void failureStopsAndReleases_data() {
        columns<QString, bool, QString>("refused", "print", "lastCall");
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
