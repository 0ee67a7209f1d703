// The result grid, its model and the grid query run, on real database files.

#include "DataSource.h"
#include "DbError.h"
#include "GridQueryRun.h"
#include "Query.h"
#include "ResultGrid.h"
#include "ResultGridModel.h"
#include "SampleStaff.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <optional>

using kb::Value;
using kb::reports::GridRequest;
using kb::reports::ResultGrid;
using kb::reports::ResultGridModel;
using kbtest::at;

namespace {

// A database, the shared query over it with its data source, and a grid.
struct Bench {
    kbtest::TempDatabase db;
    kb::Query query{db.connection()};
    kb::DataSource source{&query};
    ResultGrid grid;
    int enabled = 0;

    Bench() { grid.setDataSource(&source); }

    void run(const GridRequest& request) {
        kb::reports::runGridQuery(request, query, grid, [this] { ++enabled; });
    }
    void open(const QString& sql) {
        query.close();
        query.sql().clear();
        query.sql().add(sql);
        query.open();
    }
    QString cell(int row, int column) const { return grid.model()->index(row, column).data().toString(); }
    QStringList row(int r) const {
        QStringList texts;
        for (int c = 0; c < grid.model()->columnCount(); ++c)
            texts << cell(r, c);
        return texts;
    }
    QStringList titles() const {
        QStringList texts;
        for (int c = 0; c < grid.columnCount(); ++c)
            texts << grid.columnTitle(c);
        return texts;
    }
    QList<int> widths() const {
        QList<int> list;
        for (int c = 0; c < grid.columnCount(); ++c)
            list << grid.columnWidth(c);
        return list;
    }
};

QStringList layoutTitles(const GridRequest& request) {
    QStringList titles;
    for (const auto& column : request.columns)
        titles << column.title;
    return titles;
}

QList<int> layoutWidths(const GridRequest& request) {
    QList<int> widths;
    for (const auto& column : request.columns)
        widths << column.width;
    return widths;
}

} // namespace

class TestResultGrid : public QObject {
    Q_OBJECT

private slots:
    void modelIsEmptyWhileClosed();
    void modelPassesTheTesterThroughOpenAndClose();
    void modelShowsTheDefaultTextForm_data();
    void modelShowsTheDefaultTextForm();
    void modelIsReadOnlyAndChecksIndexes();
    void titlesStartAsFieldNamesAndResetAtOpening();
    void modelForgetsADestroyedDataSet();

    void gridSettings();
    void currentRowFollowsBothWays();
    void rowIndicatorMarksTheCurrentRow();
    void reopeningRebuildsMovedAndWidenedColumns();
    void columnAccessOutsideTheResultThrows();

    void runSetsTitlesAndWidths_data();
    void runSetsTitlesAndWidths();
    void runReplacesTenColumnsByEight();
    void runRestoresAColumnTheUserWidened();
    void runBindsDateTimeAndTextAsGiven();
    void runEnablesExportCommandsBeforeTouchingTheQuery();
    void failingRunLeavesEnabledCommandsAndAnEmptyGrid();
    void emptyResultShowsTitlesOverNoRows();
    void runStartsAtTheFirstRowAndKeepsTheFocus();
    void salaryStatementValuesInTheGrid();
    void anyDayOfTheMonthGivesTheSameStatement_data();
    void anyDayOfTheMonthGivesTheSameStatement();
};

void TestResultGrid::modelIsEmptyWhileClosed() {
    ResultGridModel unbound;
    QCOMPARE(unbound.rowCount(), 0);
    QCOMPARE(unbound.columnCount(), 0);

    Bench b;
    kbtest::addSampleStaff(b.db);
    QCOMPARE(b.grid.model()->rowCount(), 0);
    QCOMPARE(b.grid.model()->columnCount(), 0);
    b.open(QStringLiteral("SELECT ID, FIO FROM Sotr"));
    QCOMPARE(b.grid.model()->rowCount(), 3);
    QCOMPARE(b.grid.model()->columnCount(), 2);
    b.query.close();
    QCOMPARE(b.grid.model()->rowCount(), 0);
    QCOMPARE(b.grid.model()->columnCount(), 0);
    QCOMPARE(b.grid.horizontalHeader()->count(), 0);
}

void TestResultGrid::modelPassesTheTesterThroughOpenAndClose() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    ResultGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setDataSource(&b.source);
    b.open(QStringLiteral("SELECT ID, FIO, IDDolznost FROM Sotr"));
    QCOMPARE(model.rowCount(), 3);
    b.open(QStringLiteral("SELECT Nazvanie FROM Dolznost WHERE ID < 0"));
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.rowCount(), 0);
    b.query.last();
    b.query.close();
    QCOMPARE(model.columnCount(), 0);
    b.run(kb::reports::employeeList());
    QCOMPARE(model.columnCount(), 8);
    b.source.setDataSet(nullptr);
    QCOMPARE(model.columnCount(), 0);
}

void TestResultGrid::modelShowsTheDefaultTextForm_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("alignment");
    const int left = int(Qt::AlignLeft | Qt::AlignVCenter);
    const int right = int(Qt::AlignRight | Qt::AlignVCenter);
    QTest::newRow("integer") << "SELECT 42"
                             << "42" << right;
    QTest::newRow("negative integer") << "SELECT -7"
                                      << "-7" << right;
    QTest::newRow("double with decimal comma") << "SELECT 1481.4"
                                               << "1481,4" << right;
    QTest::newRow("product with binary noise") << "SELECT 12345*0.12"
                                               << "1481,4" << right;
    QTest::newRow("whole double") << "SELECT Sum FROM Stavka WHERE IDSotr = 1"
                                  << "10000" << right;
    QTest::newRow("text") << "SELECT FIO FROM Sotr WHERE ID = 1"
                          << "Иванов Иван Иванович" << left;
    QTest::newRow("null") << "SELECT DataR FROM Sotr WHERE ID = 2"
                          << "" << left;
    QTest::newRow("date at midnight") << "SELECT DataR FROM Sotr WHERE ID = 1"
                                      << "17.05.1970" << left;
    QTest::newRow("date with time") << "SELECT Data FROM Premia WHERE Premia = 'x'"
                                    << "05.04.2013 14:30:05" << left;
}

void TestResultGrid::modelShowsTheDefaultTextForm() {
    QFETCH(QString, sql);
    QFETCH(QString, shown);
    QFETCH(int, alignment);
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.db.addPremia(1, at(2013, 4, 5, 14, 30, 5), QStringLiteral("x"));
    b.open(sql);
    QCOMPARE(b.cell(0, 0), shown);
    QCOMPARE(b.grid.model()->index(0, 0).data(Qt::TextAlignmentRole).toInt(), alignment);
}

void TestResultGrid::modelIsReadOnlyAndChecksIndexes() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.open(QStringLiteral("SELECT ID, FIO FROM Sotr"));
    QAbstractItemModel* model = b.grid.model();
    const QModelIndex cell = model->index(1, 1);
    QVERIFY(!(model->flags(cell) & Qt::ItemIsEditable));
    QVERIFY(model->flags(cell) & Qt::ItemIsSelectable);
    QVERIFY(!model->setData(cell, QStringLiteral("другое")));
    QCOMPARE(b.cell(1, 1), QStringLiteral("Петрова Анна Сергеевна"));
    QCOMPARE(model->rowCount(cell), 0);
    QCOMPARE(model->columnCount(cell), 0);
    QVERIFY(!model->index(3, 0).isValid());
    QVERIFY(!model->index(0, 2).isValid());
    QVERIFY(!model->data(QModelIndex()).isValid());
    ResultGridModel other;
    QVERIFY(!other.data(cell).isValid());
    QVERIFY(!model->headerData(0, Qt::Vertical).isValid());
}

void TestResultGrid::titlesStartAsFieldNamesAndResetAtOpening() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.open(QStringLiteral("SELECT ID, FIO FROM Sotr"));
    QCOMPARE(b.titles(), (QStringList{QStringLiteral("ID"), QStringLiteral("FIO")}));
    b.grid.setColumnTitle(1, QStringLiteral("ФИО"));
    QCOMPARE(b.grid.columnTitle(1), QStringLiteral("ФИО"));
    QCOMPARE(b.grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("ФИО"));
    QVERIFY(!b.grid.model()->setHeaderData(2, Qt::Horizontal, QStringLiteral("нет")));
    b.query.close();
    b.query.open();
    QCOMPARE(b.titles(), (QStringList{QStringLiteral("ID"), QStringLiteral("FIO")}));
}

void TestResultGrid::modelForgetsADestroyedDataSet() {
    kbtest::TempDatabase db;
    kbtest::addSampleStaff(db);
    ResultGridModel model;
    auto query = std::make_unique<kb::Query>(db.connection());
    kb::DataSource source(query.get());
    model.setDataSource(&source);
    query->sql().add(QStringLiteral("SELECT FIO FROM Sotr"));
    query->open();
    QCOMPARE(model.rowCount(), 3);
    query.reset();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
    QVERIFY(!model.index(0, 0).data().isValid());
}

void TestResultGrid::gridSettings() {
    Bench b;
    b.open(QStringLiteral("SELECT 1, 2"));
    const ResultGrid& grid = b.grid;
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectItems);
    QVERIFY(grid.tabKeyNavigation());
    QVERIFY(grid.showGrid());
    QVERIFY(!grid.horizontalHeader()->isHidden());
    QVERIFY(grid.horizontalHeader()->sectionsMovable());
    QCOMPARE(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    QCOMPARE(grid.horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
    QVERIFY(!grid.verticalHeader()->isHidden());
    QVERIFY(grid.verticalHeader()->width() <= 16);
}

void TestResultGrid::currentRowFollowsBothWays() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.open(QStringLiteral("SELECT ID, FIO FROM Sotr ORDER BY ID"));
    QCOMPARE(b.query.currentRow(), 0);
    QCOMPARE(b.grid.currentIndex().row(), 0);

    b.query.next();
    QCOMPARE(b.grid.currentIndex().row(), 1);
    b.query.last();
    QCOMPARE(b.grid.currentIndex().row(), 2);

    b.grid.setCurrentIndex(b.grid.model()->index(0, 1));
    QCOMPARE(b.query.currentRow(), 0);
    QCOMPARE(b.query.currentValue(1).text(), QStringLiteral("Иванов Иван Иванович"));

    b.grid.resize(400, 300);
    b.grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.grid));
    const QRect second = b.grid.visualRect(b.grid.model()->index(1, 0));
    QTest::mouseClick(b.grid.viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(b.query.currentRow(), 1);
    QTest::keyClick(&b.grid, Qt::Key_Down);
    QCOMPARE(b.query.currentRow(), 2);
    // Tab moves to the next cell of the same row.
    QTest::keyClick(&b.grid, Qt::Key_Tab);
    QCOMPARE(b.grid.currentIndex().column(), 1);
    QCOMPARE(b.query.currentRow(), 2);
    // No key edits or deletes a row.
    QTest::keyClick(&b.grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(&b.grid, Qt::Key_F2);
    QVERIFY(!b.grid.findChild<QLineEdit*>());
    QCOMPARE(b.query.recordCount(), 3);
}

void TestResultGrid::rowIndicatorMarksTheCurrentRow() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.grid.resize(400, 300);
    b.grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.grid));
    b.open(QStringLiteral("SELECT ID FROM Sotr ORDER BY ID"));
    QHeaderView* rows = b.grid.verticalHeader();
    // The picture of each row's indicator section: unmarked ones look alike.
    auto sections = [&] {
        const QImage image = rows->viewport()->grab().toImage();
        QList<QImage> pictures;
        for (int r = 0; r < 3; ++r)
            pictures << image.copy(0, rows->sectionViewportPosition(r), image.width(), rows->sectionSize(r));
        return pictures;
    };
    const QList<QImage> before = sections();
    QCOMPARE(before[1], before[2]);
    QVERIFY(before[0] != before[1]);
    b.query.last();
    const QList<QImage> after = sections();
    QCOMPARE(after[0], after[1]);
    QVERIFY(after[2] != after[0]);
    QCOMPARE(after[2], before[0]);
}

void TestResultGrid::reopeningRebuildsMovedAndWidenedColumns() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.open(QStringLiteral("SELECT ID, FIO, IDDolznost FROM Sotr"));
    const int defaultWidth = b.grid.columnWidth(0);
    QHeaderView* titles = b.grid.horizontalHeader();
    titles->moveSection(2, 0);
    titles->resizeSection(1, defaultWidth + 90);
    QCOMPARE(titles->logicalIndex(0), 2);
    // Columns are addressed by field, wherever the user put them.
    b.grid.setColumnTitle(2, QStringLiteral("Должность"));
    QCOMPARE(b.grid.columnTitle(2), QStringLiteral("Должность"));
    QCOMPARE(b.grid.model()->headerData(titles->logicalIndex(0), Qt::Horizontal).toString(),
             QStringLiteral("Должность"));

    b.query.close();
    b.query.open();
    for (int visual = 0; visual < 3; ++visual)
        QCOMPARE(titles->logicalIndex(visual), visual);
    QCOMPARE(b.grid.columnWidth(1), defaultWidth);
    QCOMPARE(b.grid.columnTitle(2), QStringLiteral("IDDolznost"));
}

void TestResultGrid::columnAccessOutsideTheResultThrows() {
    Bench b;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, b.grid.columnTitle(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, b.grid.setColumnTitle(0, QStringLiteral("x")));
    b.open(QStringLiteral("SELECT 1, 2"));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, b.grid.setColumnWidth(2, 50));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, b.grid.columnTitle(-1));
    b.grid.setColumnWidth(1, 50);
    QCOMPARE(b.grid.columnWidth(1), 50);
}

void TestResultGrid::runSetsTitlesAndWidths_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("rows");
    QTest::newRow("salary statement") << 0 << 2;
    QTest::newRow("name search") << 1 << 1;
    QTest::newRow("position search") << 2 << 1;
    QTest::newRow("employee list") << 3 << 2;
}

static GridRequest requestNumber(int which) {
    switch (which) {
    case 0:
        return kb::reports::salaryStatement(at(2013, 4, 1, 12, 32, 52));
    case 1:
        return kb::reports::nameSearch(QStringLiteral("Анна"));
    case 2:
        return kb::reports::positionSearch(QStringLiteral("Бухгалтер"));
    default:
        return kb::reports::employeeList();
    }
}

void TestResultGrid::runSetsTitlesAndWidths() {
    QFETCH(int, which);
    QFETCH(int, rows);
    Bench b;
    kbtest::addSampleStaff(b.db);
    const GridRequest request = requestNumber(which);
    b.run(request);
    QCOMPARE(b.enabled, 1);
    QVERIFY(b.query.isActive());
    QCOMPARE(b.query.sql().lines(), request.sql);
    QCOMPARE(b.grid.model()->rowCount(), rows);
    QCOMPARE(b.titles(), layoutTitles(request));
    QCOMPARE(b.widths(), layoutWidths(request));
    // Running it again gives the same.
    b.run(request);
    QCOMPARE(b.enabled, 2);
    QCOMPARE(b.titles(), layoutTitles(request));
    QCOMPARE(b.widths(), layoutWidths(request));
}

void TestResultGrid::runReplacesTenColumnsByEight() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.run(kb::reports::salaryStatement(at(2013, 4, 1)));
    QCOMPARE(b.grid.columnCount(), 10);
    const GridRequest list = kb::reports::employeeList();
    b.run(list);
    QCOMPARE(b.grid.columnCount(), 8);
    QCOMPARE(b.grid.horizontalHeader()->count(), 8);
    QCOMPARE(b.titles(), layoutTitles(list));
    QCOMPARE(b.widths(), layoutWidths(list));
    QCOMPARE(b.row(0).mid(0, 4), (QStringList{QStringLiteral("1"), QStringLiteral("Иванов Иван Иванович"),
                                              QStringLiteral("Бухгалтер"), QStringLiteral("17.05.1970")}));
}

void TestResultGrid::runRestoresAColumnTheUserWidened() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    const GridRequest request = kb::reports::nameSearch(QString());
    b.run(request);
    b.grid.horizontalHeader()->resizeSection(1, 400);
    b.grid.horizontalHeader()->moveSection(0, 5);
    QCOMPARE(b.grid.columnWidth(1), 400);
    b.run(request);
    QCOMPARE(b.widths(), layoutWidths(request));
    QCOMPARE(b.grid.horizontalHeader()->visualIndex(0), 0);
}

void TestResultGrid::runBindsDateTimeAndTextAsGiven() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    const QDateTime picker = at(2013, 4, 1, 12, 32, 52);
    b.run(kb::reports::salaryStatement(picker));
    QCOMPARE(b.query.parameters().count(), 4);
    for (const char* name : {"D1", "D2", "D3", "D4"}) {
        const kb::Parameter& p = b.query.parameters().paramByName(QString::fromLatin1(name));
        QCOMPARE(p.dataType(), kb::FieldType::DateTime);
        QCOMPARE(p.value().toDateTime(), picker);
    }
    // Typed text goes in untrimmed and unescaped.
    b.run(kb::reports::nameSearch(QStringLiteral(" Анна ")));
    const kb::Parameter& p1 = b.query.parameters().paramByName(QStringLiteral("P1"));
    QCOMPARE(p1.dataType(), kb::FieldType::Text);
    QCOMPARE(p1.value().text(), QStringLiteral("% Анна %"));
    QCOMPARE(b.grid.model()->rowCount(), 1);
    b.run(kb::reports::nameSearch(QStringLiteral("%")));
    QCOMPARE(b.grid.model()->rowCount(), 2);
}

void TestResultGrid::runEnablesExportCommandsBeforeTouchingTheQuery() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.run(kb::reports::employeeList());
    std::optional<bool> activeWhenEnabled;
    QStringList sqlWhenEnabled;
    kb::reports::runGridQuery(kb::reports::salaryStatement(at(2013, 4, 1)), b.query, b.grid, [&] {
        activeWhenEnabled = b.query.isActive();
        sqlWhenEnabled = b.query.sql().lines();
    });
    QCOMPARE(activeWhenEnabled, std::optional<bool>(true));
    QCOMPARE(sqlWhenEnabled, kb::reports::employeeList().sql);
    QCOMPARE(b.grid.columnCount(), 10);
}

void TestResultGrid::failingRunLeavesEnabledCommandsAndAnEmptyGrid() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.run(kb::reports::employeeList());
    QCOMPARE(b.grid.columnCount(), 8);
    // A bonus that is no number fails the statement when it is opened.
    b.db.exec(QStringLiteral("UPDATE Premia SET Premia = 'двадцать' WHERE IDSotr = 1"));
    QVERIFY_THROWS_EXCEPTION(kb::DbError, b.run(kb::reports::salaryStatement(at(2013, 4, 1))));
    QCOMPARE(b.enabled, 2);
    QVERIFY(!b.query.isActive());
    QCOMPARE(b.query.sql().lines(), kb::reports::salaryStatementSql());
    QCOMPARE(b.grid.model()->columnCount(), 0);
    QCOMPARE(b.grid.model()->rowCount(), 0);
    QCOMPARE(b.grid.horizontalHeader()->count(), 0);
    QCOMPARE(b.grid.columnCount(), 0);

    // A binding that names no parameter of the statement fails before opening.
    GridRequest wrong = kb::reports::employeeList();
    wrong.bindings.push_back({QStringLiteral("P9"), kb::reports::ParamBinding::Kind::Text, Value(QStringLiteral("x"))});
    QVERIFY_THROWS_EXCEPTION(kb::DbError, b.run(wrong));
    QVERIFY(!b.query.isActive());

    const GridRequest list = kb::reports::employeeList();
    b.run(list);
    QVERIFY(b.query.isActive());
    QCOMPARE(b.grid.model()->rowCount(), 2);
    QCOMPARE(b.titles(), layoutTitles(list));
}

void TestResultGrid::emptyResultShowsTitlesOverNoRows() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    const GridRequest request = kb::reports::salaryStatement(at(2014, 1, 1));
    b.run(request);
    QVERIFY(b.query.isActive());
    QCOMPARE(b.grid.model()->rowCount(), 0);
    QCOMPARE(b.titles(), layoutTitles(request));
    QCOMPARE(b.widths(), layoutWidths(request));
    QVERIFY(!b.grid.currentIndex().isValid());
    const GridRequest nobody = kb::reports::positionSearch(QString());
    b.run(nobody);
    QCOMPARE(b.grid.model()->rowCount(), 0);
    QCOMPARE(b.titles(), layoutTitles(nobody));
}

void TestResultGrid::runStartsAtTheFirstRowAndKeepsTheFocus() {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.grid.setParent(&window);
    edit->move(0, 320);
    window.resize(500, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QVERIFY(edit->hasFocus());
    b.run(kb::reports::employeeList());
    b.query.last();
    QCOMPARE(b.grid.currentIndex().row(), 1);
    b.run(kb::reports::nameSearch(QString()));
    QCOMPARE(b.query.currentRow(), 0);
    QCOMPARE(b.grid.currentIndex().row(), 0);
    QVERIFY(edit->hasFocus());
    b.grid.setParent(nullptr);
}

void TestResultGrid::salaryStatementValuesInTheGrid() {
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.run(kb::reports::salaryStatement(at(2013, 4, 1, 12, 32, 52)));
    QCOMPARE(b.grid.model()->rowCount(), 2);
    QCOMPARE(b.row(0), (QStringList{QStringLiteral("Иванов Иван Иванович"), "10000", "10", "5000", "1200", "100",
                                    "4000", "8700", "2500", "11200"}));
    QCOMPARE(b.row(1), (QStringList{QStringLiteral("Петрова Анна Сергеевна"), "12345", "3", "1852", "1481,4", "123,45",
                                    "4938", "10740,15", "1234,5", "11974,65"}));
}

void TestResultGrid::anyDayOfTheMonthGivesTheSameStatement_data() {
    QTest::addColumn<QDateTime>("picker");
    QTest::addColumn<int>("rows");
    QTest::newRow("first, midday") << at(2013, 4, 1, 12, 32, 52) << 2;
    QTest::newRow("first, midnight") << at(2013, 4, 1) << 2;
    QTest::newRow("fifteenth") << at(2013, 4, 15, 8, 0, 0) << 2;
    QTest::newRow("last second of the month") << at(2013, 4, 30, 23, 59, 59) << 2;
    QTest::newRow("next month") << at(2013, 5, 1) << 1;
    QTest::newRow("same month a year later") << at(2014, 4, 10) << 0;
}

void TestResultGrid::anyDayOfTheMonthGivesTheSameStatement() {
    QFETCH(QDateTime, picker);
    QFETCH(int, rows);
    Bench b;
    kbtest::addSampleStaff(b.db);
    b.run(kb::reports::salaryStatement(picker));
    QCOMPARE(b.grid.model()->rowCount(), rows);
    if (rows == 2) {
        QCOMPARE(b.cell(0, 9), QStringLiteral("11200"));
        QCOMPARE(b.cell(1, 9), QStringLiteral("11974,65"));
    }
}

QTEST_MAIN(TestResultGrid)
#include "tst_resultgrid.moc"
