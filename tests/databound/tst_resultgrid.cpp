// The result grid and its model over real database files, and the grid query run that fills the grid.

#include "ErrorReporting.h"
#include "GridQueryRun.h"
#include "Query.h"
#include "ResultGrid.h"
#include "SampleStaff.h"
#include "Schema.h"
#include "ScriptedModalDialogs.h"
#include "Statements.h"
#include "Table.h"
#include "TestRows.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>

using namespace kbtest;
using namespace Qt::StringLiterals;
namespace reports = kb::reports;

namespace {

// The sample staff, a query and a table object over them, and a grid on a data source, under Qt's model checker.
struct Bench {
    TempDatabase db;
    kb::dataset::Query query{db.connection()};
    kb::dataset::Table table{db.connection(), kb::dataset::schema::table(u"Dolznost"_s)};
    kb::dataset::DataSource source{&query};
    kb::databound::ResultGrid grid;
    QAbstractItemModel& model = *grid.model();
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    int enabled = 0;

    Bench() {
        addSampleStaff(db);
        grid.setDataSource(&source);
    }
    void run(const reports::GridRequest& request) {
        reports::runGridQuery(request, query, grid, [this] { ++enabled; });
    }
    QString rows() const {
        QStringList rows;
        for (int r = 0; r < model.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model.columnCount(); ++c)
                cells << model.index(r, c).data().toString();
            rows << cells.join(u'|');
        }
        return rows.join(u'\n');
    }
    void setName(const QString& name) { table.fieldByName(u"Nazvanie"_s).setValue(kb::sql::Value(name)); }
};

} // namespace

class TestResultGrid : public QObject {
    Q_OBJECT
private slots:
    // Opened, closed, rebound, rows inserted, changed and removed, refreshed: the model stays read-only and consistent
    // with its data set; a value far longer than any cell shows its beginning only, so no value can hold the window.
    void modelFollowsItsDataSet() {
        Bench b;
        b.query.sql().add(u"SELECT ID, FIO FROM Sotr WHERE ID < 3"_s);
        b.query.open();
        QCOMPARE(b.rows(), u"1|Иванов Иван Иванович\n2|Петрова Анна Сергеевна"_s);
        QVERIFY(!(b.model.flags(b.model.index(1, 1)) & Qt::ItemIsEditable) && !b.model.setData(b.model.index(1, 1), 1));
        b.query.close();
        QCOMPARE(b.grid.horizontalHeader()->count(), 0);

        b.source.setDataSet(&b.table);
        b.table.open();
        b.table.append();
        QCOMPARE(b.grid.currentIndex().row(), 2);
        b.setName(u"Методист"_s);
        b.table.post();
        b.table.first();
        b.table.insert();
        QCOMPARE(b.rows(), u"|\n1|Бухгалтер\n2|Директор\n3|Методист"_s);
        b.table.cancel();
        b.table.edit();
        b.setName(u"Главбух"_s);
        b.table.post();
        b.table.last();
        b.table.remove();
        b.db.addDolznost(QString(300000, u'ы'));
        QCOMPARE(b.rows(), u"1|Главбух\n2|Директор"_s);
        b.table.refresh();
        QCOMPARE(b.rows(), u"1|Главбух\n2|Директор\n4|"_s + QString(4095, u'ы') + QChar(0x2026));
    }

    // The current row follows the data set and a click; no key edits or deletes; each run starts at the first row,
    // leaves the focus where it was and enables the commands; an empty result shows its titles over no rows.
    void gridFollowsTheCurrentRowAndEditsNothing() {
        QWidget window;
        auto* edit = new QLineEdit(&window);
        Bench b;
        b.grid.setParent(&window);
        edit->move(0, 320);
        window.resize(500, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        b.run(reports::employeeList());
        b.query.last();
        QCOMPARE(b.grid.currentIndex().row(), 1);
        QTest::mouseClick(b.grid.viewport(), Qt::LeftButton, {}, b.grid.visualRect(b.model.index(0, 0)).center());
        QCOMPARE(b.query.currentRow(), 0);
        QTest::keyClick(&b.grid, Qt::Key_F2);
        QTest::keyClick(&b.grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(!b.grid.findChild<QLineEdit*>() && b.query.recordCount() == 2);
        b.query.last();
        edit->setFocus();
        b.run(reports::employeeList());
        QVERIFY(b.grid.currentIndex().row() == 0 && edit->hasFocus() && b.enabled == 2);
        b.run(reports::salaryStatement(at(2014, 1, 1)));
        QVERIFY(b.model.rowCount() == 0 && b.grid.columnCount() == 10 && !b.grid.currentIndex().isValid());
    }

    // A table object reads its rows at first use; when that read fails under the grid, the command that caused it shows
    // the error once and the grid stays empty, whichever way the rows were first needed. A row the table cannot leave
    // (its edit fails to post) is shown the same way and stays current.
    void failuresUnderTheGridAreShownOnce_data() {
        columns<QString, QString>("how", "said");
        row("binding the grid", "bind", "Таблицу 'Dolznost' прочитать не удалось: ");
        row("opening the table under the grid", "open", "Таблицу 'Dolznost' прочитать не удалось: ");
        row("leaving an edited row", "leave", "no such table");
    }
    void failuresUnderTheGridAreShownOnce() {
        const auto [how, said] = fetch<QString, QString>("how", "said");
        Bench b;
        kb::dataset::DataSource tables(&b.table);
        if (how != u"bind")
            b.grid.setDataSource(&tables);
        if (how != u"open")
            b.table.open();
        if (how == u"leave") {
            b.table.edit();
            b.setName(u"Главбух"_s);
        }
        b.db.exec(u"ALTER TABLE Dolznost RENAME TO Gone"_s);
        ScopedScriptedDialogs dialogs;
        dialogs->expectErrorBox();
        try { // as the main window runs a command: the default error handler shows what it throws
            if (how == u"bind")
                b.grid.setDataSource(&tables);
            else if (how == u"open")
                b.table.open();
            else
                b.grid.setCurrentIndex(b.model.index(1, 1));
        } catch (...) {
            kb::ui::reportError(std::current_exception());
        }
        QCOMPARE(dialogs->calls().size(), size_t(1));
        QVERIFY2(dialogs->calls().front().text.contains(said), qPrintable(dialogs->calls().front().text));
        QCOMPARE(b.grid.dataSource() == &tables, how != u"bind"); // a failed bind binds nothing
        QCOMPARE(b.model.rowCount(), how == u"leave" ? 2 : 0);
        QCOMPARE(b.table.isActive(), how != u"open");
        QCOMPARE(b.grid.currentIndex().row(), how == u"leave" ? 0 : -1);
    }
};

QTEST_MAIN(TestResultGrid)
#include "tst_resultgrid.moc"
