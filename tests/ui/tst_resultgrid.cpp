// The result grid and its model over real database files, and the grid query run that fills the grid.

#include "ErrorReporting.h"
#include "GridQueryRun.h"
#include "Query.h"
#include "ResultGrid.h"
#include "SampleStaff.h"
#include "Schema.h"
#include "ScriptedModalDialogs.h"
#include "StatementFixtures.h"
#include "Statements.h"
#include "Table.h"
#include "TestRows.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

using kb::reports::GridRequest;
using namespace kbtest;
namespace reports = kb::reports;

namespace {

// The sample staff, a query and a table object over them, and a grid on a data source, under Qt's model checker.
struct Bench : QObject {
    kbtest::TempDatabase db;
    kb::Query query{db.connection()};
    kb::Table table{db.connection(), kb::schema::table(QStringLiteral("Dolznost"))};
    kb::DataSource source{&query};
    kb::ui::ResultGrid grid;
    QAbstractItemModel& model = *grid.model();
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    int enabled = 0;
    std::function<void()> action;

    Bench() {
        kbtest::addSampleStaff(db);
        grid.setDataSource(&source);
    }
    void run(const GridRequest& request) {
        reports::runGridQuery(request, query, grid, [this] { ++enabled; });
    }
    // Runs an action as the main window runs a command: the default error handler shows what it throws.
    void command(std::function<void()> body) {
        action = std::move(body);
        QPushButton button;
        kb::ui::connectHandler(&button, &QPushButton::clicked, this, &Bench::runAction);
        button.click();
    }
    void runAction() { action(); }
    // Every row's cells as shown, or every column's title and width.
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
    QString layout() const {
        QStringList columns;
        for (int c = 0; c < grid.columnCount(); ++c)
            columns << QStringLiteral("%1:%2").arg(grid.columnTitle(c)).arg(grid.columnWidth(c));
        return columns.join(u'|');
    }
};

} // namespace

class TestResultGrid : public QObject {
    Q_OBJECT
private slots:
    // Opened, closed, rebound, rows inserted, changed and removed, refreshed, destroyed: the model stays read-only and
    // consistent with its data set.
    void modelFollowsItsDataSet() {
        Bench b;
        QCOMPARE(b.model.columnCount(), 0);
        b.query.sql().add(QStringLiteral("SELECT ID, FIO FROM Sotr WHERE ID < 3"));
        b.query.open();
        QCOMPARE(b.layout(), QStringLiteral("ID:64|FIO:64"));
        QCOMPARE(b.rows(), QStringLiteral("1|Иванов Иван Иванович\n2|Петрова Анна Сергеевна"));
        QVERIFY(!(b.model.flags(b.model.index(1, 1)) & Qt::ItemIsEditable) && !b.model.setData(b.model.index(1, 1), 1));
        b.query.close();
        QCOMPARE(b.model.columnCount(), 0);
        QCOMPARE(b.grid.horizontalHeader()->count(), 0);

        b.source.setDataSet(&b.table);
        b.table.open();
        QCOMPARE(b.rows(), QStringLiteral("1|Бухгалтер\n2|Директор"));
        b.table.append();
        QCOMPARE(b.grid.currentIndex().row(), 2);
        b.table.fieldByName(QStringLiteral("Nazvanie")).setValue(kb::Value(QStringLiteral("Методист")));
        b.table.post();
        QCOMPARE(b.rows(), QStringLiteral("1|Бухгалтер\n2|Директор\n3|Методист"));
        b.table.first();
        b.table.insert();
        QCOMPARE(b.rows(), QStringLiteral("|\n1|Бухгалтер\n2|Директор\n3|Методист"));
        b.table.cancel();
        b.table.edit();
        b.table.fieldByName(QStringLiteral("Nazvanie")).setValue(kb::Value(QStringLiteral("Главбух")));
        b.table.post();
        b.table.last();
        b.table.remove();
        b.db.addDolznost(QStringLiteral("Кассир"));
        QCOMPARE(b.rows(), QStringLiteral("1|Главбух\n2|Директор"));
        b.table.refresh();
        QCOMPARE(b.rows(), QStringLiteral("1|Главбух\n2|Директор\n4|Кассир"));

        auto other = std::make_unique<kb::Query>(b.db.connection());
        other->sql().add(QStringLiteral("SELECT FIO FROM Sotr"));
        other->open();
        b.source.setDataSet(other.get());
        QCOMPARE(b.model.rowCount(), 3);
        other.reset();
        QCOMPARE(b.model.columnCount(), 0);
    }

    // Single cells are current and selected, a narrow row indicator marks the current row, no key edits or deletes;
    // each run starts at the first row and leaves the focus where it was; values in their default text form, numbers
    // right-aligned; an empty result shows its titles over no rows.
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
        QHeaderView* rows = b.grid.verticalHeader();
        QVERIFY(rows->isVisible() && rows->width() <= 16);
        const auto marker = [rows](int r) {
            return rows->viewport()->grab().toImage().copy(0, rows->sectionViewportPosition(r), 12,
                                                           rows->sectionSize(r));
        };
        const QImage marked = marker(0);
        b.query.last();
        QCOMPARE(b.grid.currentIndex().row(), 1);
        QVERIFY(marker(1) == marked && marker(0) != marked);

        QTest::mouseClick(b.grid.viewport(), Qt::LeftButton, {}, b.grid.visualRect(b.model.index(0, 0)).center());
        QCOMPARE(b.query.currentRow(), 0);
        QTest::keyClick(&b.grid, Qt::Key_F2);
        QTest::keyClick(&b.grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(!b.grid.findChild<QLineEdit*>());
        QCOMPARE(b.query.recordCount(), 2);

        edit->setFocus();
        b.run(reports::employeeList());
        QCOMPARE(b.grid.currentIndex().row(), 0);
        QVERIFY(edit->hasFocus());
        QCOMPARE(b.rows().section(u'\n', 0, 0),
                 QStringLiteral("1|Иванов Иван Иванович|Бухгалтер|17.05.1970|ул. Ленина, "
                                "1|22-33-44|4501 123456|770101010101"));
        QCOMPARE(b.model.index(0, 0).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(b.model.index(0, 3).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
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
        row("rebinding the data source", "rebind", "Таблицу 'Dolznost' прочитать не удалось: ");
        row("leaving an edited row", "leave", "no such table");
    }

    void failuresUnderTheGridAreShownOnce() {
        const auto [how, said] = fetch<QString, QString>("how", "said");
        Bench b;
        kb::DataSource tables(how == u"rebind" ? nullptr : &b.table);
        if (how != u"bind")
            b.grid.setDataSource(&tables);
        if (how != u"open")
            b.table.open();
        if (how == u"leave") {
            b.table.edit();
            b.table.fieldByName(QStringLiteral("Nazvanie")).setValue(kb::Value(QStringLiteral("Главбух")));
        }
        b.db.exec(QStringLiteral("ALTER TABLE Dolznost RENAME TO Gone"));
        kbtest::ScopedScriptedDialogs dialogs;
        dialogs->expectErrorBox();
        b.command([&] {
            if (how == u"bind")
                b.grid.setDataSource(&tables);
            else if (how == u"open")
                b.table.open();
            else if (how == u"rebind")
                tables.setDataSet(&b.table);
            else
                b.grid.setCurrentIndex(b.model.index(1, 1));
        });
        const auto& boxes = dialogs->calls();
        QCOMPARE(boxes.size(), size_t(1));
        QVERIFY2(boxes.front().text.contains(said), qPrintable(boxes.front().text));
        QCOMPARE(b.grid.dataSource() == &tables, how != u"bind"); // a failed bind binds nothing
        QCOMPARE(b.model.rowCount(), how == u"leave" ? 2 : 0);
        QCOMPARE(b.table.isActive(), how != u"open");
        QCOMPARE(b.grid.currentIndex().row(), how == u"leave" ? 0 : -1);
    }

    // Each statement's columns as the grid shows them, each set title first, then width; the same again after the user
    // moved and widened a column.
    void runShowsTheStatementsLayout_data() {
        columns<GridRequest, QString>("request", "layout");
        row("salary statement", reports::salaryStatement(at(2013, 4, 1)),
            QStringLiteral("ФИО:150|Оклад:60|Отр. дни:70|Нач. по окл.:70|Подоходный:70|"
                           "Пенсионный:70|Аванс:70|Всего уд.:60|Премия:60|К выдаче:60"));
        row("employee list", reports::employeeList(),
            QStringLiteral("№:30|ФИО:150|Должность:120|Дата рожд.:80|Адрес:120|Телефон:80|Паспорт:80|ИНН:80"));
    }

    void runShowsTheStatementsLayout() {
        const auto [request, layout] = fetch<GridRequest, QString>("request", "layout");
        Bench b;
        QStringList steps;
        connect(&b.model, &QAbstractItemModel::headerDataChanged, this,
                [&](Qt::Orientation, int column) { steps << QStringLiteral("title %1").arg(column); });
        connect(b.grid.horizontalHeader(), &QHeaderView::sectionResized, this,
                [&](int column) { steps << QStringLiteral("width %1").arg(column); });
        b.run(request);
        QStringList expected;
        for (int c = 0; c < b.grid.columnCount(); ++c)
            expected << QStringLiteral("title %1").arg(c) << QStringLiteral("width %1").arg(c);
        QCOMPARE(steps, expected);
        QCOMPARE(b.layout(), layout);
        QVERIFY(b.model.rowCount() > 0);

        // Columns are addressed by field, wherever the user put them.
        b.grid.horizontalHeader()->resizeSection(1, 400);
        b.grid.horizontalHeader()->moveSection(0, 5);
        QCOMPARE(b.grid.columnWidth(1), 400);
        QCOMPARE(b.grid.columnTitle(0), layout.section(u':', 0, 0));
        b.run(request);
        QCOMPARE(b.enabled, 2);
        QCOMPARE(b.layout(), layout);
        QCOMPARE(b.grid.horizontalHeader()->visualIndex(0), 0);
    }
};

QTEST_MAIN(TestResultGrid)
#include "tst_resultgrid.moc"
