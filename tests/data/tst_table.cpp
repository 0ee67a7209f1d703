// The table object: snapshot, states, navigation, posting and deleting on a real file.
// The snapshot is read at the first use after opening, so several tests change
// the file through another connection between open() and that use.
#include "Connection.h"
#include "DataSource.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "Dialect.h"
#include "Schema.h"
#include "Table.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

using kb::DbError;
using kb::Table;
using kb::Value;
using kbtest::TempDatabase;
using State = kb::Table::State;

namespace {

const QString kPositions[] = {QStringLiteral("Бухгалтер"), QStringLiteral("Директор"), QStringLiteral("Кассир")};

// A database with three positions and an open table object over Dolznost.
struct Positions {
    TempDatabase db;
    qint64 ids[3];
    std::unique_ptr<Table> table;

    Positions() {
        for (int i = 0; i < 3; ++i)
            ids[i] = db.addDolznost(kPositions[i]);
        table = std::make_unique<Table>(db.connection(), kb::schema::table(QStringLiteral("Dolznost")));
        table->setObjectName(QStringLiteral("ADOTableDolznost"));
        table->open();
    }
    Table& t() { return *table; }
    kb::Field& name() { return table->fieldByName(QStringLiteral("Nazvanie")); }
    // The names as the table object shows them, in order.
    QStringList shown() {
        QStringList names;
        for (int r = 0; r < table->recordCount(); ++r)
            names.append(table->value(r, 1).text());
        return names;
    }
    // The names in the file, read through a connection of its own.
    QStringList inFile() {
        kb::Connection other(db.path());
        kb::Statement st = other.prepareNative(QStringLiteral("SELECT Nazvanie FROM Dolznost ORDER BY ID"));
        QStringList names;
        while (st.step())
            names.append(st.column(0).text());
        return names;
    }
    void forbid(const QString& what) {
        db.exec(QStringLiteral("CREATE TRIGGER Forbid%1 BEFORE %1 ON Dolznost "
                               "BEGIN SELECT RAISE(ABORT, 'Изменение запрещено'); END")
                    .arg(what));
    }
    // Runs a statement through a connection of its own, as another user would.
    void byAnotherUser(const QString& sql) {
        kb::Connection other(db.path());
        kb::dialect::install(other);
        other.execute(sql);
    }
};

// The first thing done with a table object after opening it.
void firstUse(Table& t, const QString& use) {
    if (use == QLatin1String("currentRow"))
        t.currentRow();
    else if (use == QLatin1String("bof"))
        t.bof();
    else if (use == QLatin1String("eof"))
        t.eof();
    else if (use == QLatin1String("isEmpty"))
        t.isEmpty();
    else if (use == QLatin1String("recordCount"))
        t.recordCount();
    else if (use == QLatin1String("value"))
        t.value(0, 1);
    else if (use == QLatin1String("field"))
        t.fieldByName(QStringLiteral("Nazvanie")).displayText();
    else if (use == QLatin1String("next"))
        t.next();
    else if (use == QLatin1String("last"))
        t.last();
    else if (use == QLatin1String("moveTo"))
        t.moveTo(1);
    else if (use == QLatin1String("edit"))
        t.edit();
    else if (use == QLatin1String("insert"))
        t.insert();
    else if (use == QLatin1String("refresh"))
        t.refresh();
    else
        QFAIL(qPrintable(QStringLiteral("unknown use ") + use));
}

} // namespace

class TestTable : public QObject {
    Q_OBJECT
private slots:
    void openShowsTheListedFieldsInRowidOrder();
    void openFailures_data();
    void openFailures();
    void emptyTable();
    void editAndPost();
    void postWithoutChangesWritesNothing();
    void cancelEdit();
    void insertShowsTheNewId();
    void appendAndCancel();
    void leavingAnEditedRowPostsIt_data();
    void leavingAnEditedRowPostsIt();
    void stayingOnTheRowDoesNotPost();
    void failedPostKeepsTheEdit_data();
    void failedPostKeepsTheEdit();
    void postWhileAnotherUserWrites();
    void removeRows();
    void removeWhileInsertingCancels();
    void rowDeletedByAnotherUser_data();
    void rowDeletedByAnotherUser();
    void refreshKeepsTheCurrentRow();
    void refreshAfterTheCurrentRowVanished();
    void fieldChangeSignals();
    void pendingEditOutlivesItsWidgets();
    void closeDropsThePendingEdit();
    void closedTableRefuses();
    void firstUseSeesTheFileAsItIsThen_data();
    void firstUseSeesTheFileAsItIsThen();
    void laterChangesWaitForRefresh();
    void signalsOnOpening_data();
    void signalsOnOpening();
    void signalsOnClosing_data();
    void signalsOnClosing();
    void failedFirstReadIsRetried_data();
    void failedFirstReadIsRetried();
    void snapshotTypes_data();
    void snapshotTypes();
    void repeatedAndDistinctTexts();
};

void TestTable::openShowsTheListedFieldsInRowidOrder() {
    TempDatabase db;
    db.exec(QStringLiteral("ALTER TABLE Dolznost ADD COLUMN Secret TEXT"));
    db.exec(
        QStringLiteral("INSERT INTO Dolznost (ID, Nazvanie, Secret) VALUES (7, 'Седьмой', 'x'), (3, 'Третий', 'y')"));
    db.connection().reloadColumnTypes();
    Table t(db.connection(), kb::schema::table(QStringLiteral("Dolznost")));
    QSignalSpy state(&t, &Table::stateChanged);
    QVERIFY(!t.isActive());
    QCOMPARE(t.state(), State::Inactive);
    t.open();
    QCOMPARE(t.state(), State::Browse);
    QCOMPARE(state.count(), 1);
    QCOMPARE(t.fieldCount(), 2);
    QCOMPARE(t.fieldName(1), QStringLiteral("Nazvanie"));
    QCOMPARE(t.recordCount(), 2);
    QCOMPARE(t.value(0, 0), Value(3));
    QCOMPARE(t.value(1, 1), Value(QStringLiteral("Седьмой")));
    QCOMPARE(t.currentRow(), 0);
    QVERIFY(t.bof());
    QVERIFY(!t.eof());
    QVERIFY(t.canModify());
    QVERIFY(!t.isEmpty());
    QVERIFY(t.findField(QStringLiteral("Secret")) == nullptr);
    QCOMPARE(kbtest::errorMessage([&] { t.fieldByName(QStringLiteral("Secret")); }),
             QStringLiteral("Поле 'Secret' не найдено в таблице 'Dolznost'"));
}

void TestTable::openFailures_data() {
    QTest::addColumn<QString>("create");
    QTest::addColumn<QStringList>("named");
    QTest::newRow("missing table") << "CREATE TABLE Other (ID INTEGER)" << QStringList{"Таблица", "'Dolznost'"};
    QTest::newRow("missing field") << "CREATE TABLE Dolznost (ID INTEGER PRIMARY KEY, Name TEXT)"
                                   << QStringList{"Поле", "'Nazvanie'", "'Dolznost'"};
}

void TestTable::openFailures() {
    QFETCH(QString, create);
    QFETCH(QStringList, named);
    TempDatabase db(TempDatabase::Content::Empty);
    db.exec(create);
    db.connection().reloadColumnTypes();
    Table t(db.connection(), kb::schema::table(QStringLiteral("Dolznost")));
    const QString message = kbtest::errorMessage([&] { t.open(); });
    for (const QString& part : named)
        QVERIFY2(message.contains(part), qPrintable(message));
    QVERIFY2(message.contains(db.path()), qPrintable(message));
    QVERIFY(!t.isActive());
}

void TestTable::emptyTable() {
    TempDatabase db;
    Table t(db.connection(), kb::schema::table(QStringLiteral("Stavka")));
    t.open();
    QCOMPARE(t.recordCount(), 0);
    QVERIFY(t.bof() && t.eof() && t.isEmpty());
    QVERIFY(t.canModify());
    QCOMPARE(t.currentRow(), -1);
    QVERIFY(t.fieldByName(QStringLiteral("Sum")).isNull());
    t.next();
    t.last();
    QCOMPARE(t.currentRow(), -1);
    QVERIFY_THROWS_EXCEPTION(DbError, t.remove());

    // Editing an empty table starts a new row.
    t.edit();
    QCOMPARE(t.state(), State::Insert);
    QCOMPARE(t.recordCount(), 1);
    QCOMPARE(t.currentRow(), 0);
    t.fieldByName(QStringLiteral("Sum")).setText(QStringLiteral("1200,5"));
    t.post();
    QCOMPARE(db.scalar(QStringLiteral("SELECT Sum FROM Stavka")), Value(1200.5));
    QCOMPARE(t.recordCount(), 1);
}

void TestTable::editAndPost() {
    Positions p;
    p.t().next();
    QSignalSpy state(&p.t(), &Table::stateChanged);
    QSignalSpy changed(&p.t(), &Table::rowChanged);
    p.t().edit();
    QCOMPARE(p.t().state(), State::Edit);
    QVERIFY(p.t().isEditing());
    p.name().setText(QStringLiteral("Главный бухгалтер"));
    // The pending value shows in the row, not yet in the file.
    QCOMPARE(p.t().value(1, 1), Value(QStringLiteral("Главный бухгалтер")));
    QCOMPARE(p.inFile()[1], kPositions[1]);
    p.t().post();
    QCOMPARE(p.t().state(), State::Browse);
    QCOMPARE(p.inFile(), QStringList({kPositions[0], QStringLiteral("Главный бухгалтер"), kPositions[2]}));
    QCOMPARE(p.shown(), p.inFile());
    QCOMPARE(p.t().currentRow(), 1);
    QCOMPARE(state.count(), 2);
    QCOMPARE(state.at(0).at(0).value<State>(), State::Edit);
    QCOMPARE(state.at(1).at(0).value<State>(), State::Browse);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), 1);
}

void TestTable::postWithoutChangesWritesNothing() {
    Positions p;
    p.forbid(QStringLiteral("UPDATE"));
    p.t().edit();
    p.name().setText(kPositions[0]);
    p.t().post(); // the trigger would refuse any UPDATE
    QCOMPARE(p.t().state(), State::Browse);
}

void TestTable::cancelEdit() {
    Positions p;
    p.t().edit();
    p.name().setText(QStringLiteral("Не то"));
    QSignalSpy changed(&p.t(), &Table::rowChanged);
    p.t().cancel();
    QCOMPARE(p.t().state(), State::Browse);
    QCOMPARE(p.name().value(), Value(kPositions[0]));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(p.inFile(), p.shown());
    p.t().cancel(); // nothing to cancel
    QCOMPARE(p.t().state(), State::Browse);
}

void TestTable::insertShowsTheNewId() {
    Positions p;
    p.t().next();
    QSignalSpy inserted(&p.t(), &Table::rowInserted);
    QSignalSpy current(&p.t(), &Table::currentRowChanged);
    p.t().insert();
    QCOMPARE(p.t().state(), State::Insert);
    QCOMPARE(p.t().recordCount(), 4);
    QCOMPARE(p.t().currentRow(), 1);
    QVERIFY(!p.t().bof() && !p.t().eof());
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(0).toInt(), 1);
    QVERIFY(current.count() >= 1);
    QVERIFY(p.t().field(0).isNull());
    QVERIFY(p.name().isNull());
    QCOMPARE(p.t().value(2, 1), Value(kPositions[1])); // the rows below moved down

    p.name().setText(QStringLiteral("Методист"));
    p.t().post();
    QCOMPARE(p.t().state(), State::Browse);
    QCOMPARE(p.t().currentRow(), 1);
    QCOMPARE(p.t().field(0).value(), Value(p.ids[2] + 1));
    QCOMPARE(p.shown(), QStringList({kPositions[0], QStringLiteral("Методист"), kPositions[1], kPositions[2]}));
    QCOMPARE(p.inFile(), QStringList({kPositions[0], kPositions[1], kPositions[2], QStringLiteral("Методист")}));
}

void TestTable::appendAndCancel() {
    Positions p;
    p.t().next();
    QSignalSpy removed(&p.t(), &Table::rowRemoved);
    p.t().append();
    QCOMPARE(p.t().currentRow(), 3);
    QVERIFY(p.t().eof());
    QCOMPARE(p.t().recordCount(), 4);
    p.name().setText(QStringLiteral("Лишний"));
    p.t().cancel();
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(0).toInt(), 3);
    QCOMPARE(p.t().recordCount(), 3);
    QCOMPARE(p.t().currentRow(), 1);
    QVERIFY(!p.t().eof());
    QCOMPARE(p.inFile().size(), 3);
}

// Each way of leaving the edited second row writes it first.
void TestTable::leavingAnEditedRowPostsIt_data() {
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("row");
    QTest::newRow("next") << "next" << 2;
    QTest::newRow("prior") << "prior" << 0;
    QTest::newRow("first") << "first" << 0;
    QTest::newRow("last") << "last" << 2;
    QTest::newRow("grid click") << "moveTo" << 0;
    QTest::newRow("refresh") << "refresh" << 1;
    QTest::newRow("insert") << "insert" << 1;
    QTest::newRow("append") << "append" << 3;
}

void TestTable::leavingAnEditedRowPostsIt() {
    QFETCH(QString, move);
    QFETCH(int, row);
    Positions p;
    p.t().next();
    p.t().edit();
    p.name().setText(QStringLiteral("Изменён"));
    if (move == QLatin1String("next"))
        p.t().next();
    else if (move == QLatin1String("prior"))
        p.t().prior();
    else if (move == QLatin1String("first"))
        p.t().first();
    else if (move == QLatin1String("last"))
        p.t().last();
    else if (move == QLatin1String("moveTo"))
        p.t().moveTo(0);
    else if (move == QLatin1String("refresh"))
        p.t().refresh();
    else if (move == QLatin1String("insert"))
        p.t().insert();
    else
        p.t().append();
    QCOMPARE(p.inFile()[1], QStringLiteral("Изменён"));
    QCOMPARE(p.t().currentRow(), row);
    QCOMPARE(p.t().state(),
             move.endsWith(QLatin1String("end")) || move == QLatin1String("insert") ? State::Insert : State::Browse);
}

void TestTable::stayingOnTheRowDoesNotPost() {
    Positions p;
    p.t().edit();
    p.name().setText(QStringLiteral("Ещё не сохранён"));
    p.t().moveTo(0);
    QCOMPARE(p.t().state(), State::Edit);
    QCOMPARE(p.inFile()[0], kPositions[0]);
}

void TestTable::failedPostKeepsTheEdit_data() {
    QTest::addColumn<bool>("inserting");
    QTest::newRow("edit") << false;
    QTest::newRow("insert") << true;
}

void TestTable::failedPostKeepsTheEdit() {
    QFETCH(bool, inserting);
    Positions p;
    p.forbid(inserting ? QStringLiteral("INSERT") : QStringLiteral("UPDATE"));
    p.t().next();
    if (inserting)
        p.t().insert();
    else
        p.t().edit();
    p.name().setText(QStringLiteral("Ожидает"));
    QCOMPARE(kbtest::errorMessage([&] { p.t().post(); }), QStringLiteral("Изменение запрещено"));
    const State expected = inserting ? State::Insert : State::Edit;
    QCOMPARE(p.t().state(), expected);
    QCOMPARE(p.name().value(), Value(QStringLiteral("Ожидает")));
    QCOMPARE(p.t().recordCount(), inserting ? 4 : 3);

    // Leaving the row fails the same way and the cursor stays.
    QVERIFY_THROWS_EXCEPTION(DbError, p.t().next());
    QCOMPARE(p.t().currentRow(), 1);
    QCOMPARE(p.t().state(), expected);
    QCOMPARE(p.inFile(), QStringList(std::begin(kPositions), std::end(kPositions)));

    p.db.exec(inserting ? QStringLiteral("DROP TRIGGER ForbidINSERT") : QStringLiteral("DROP TRIGGER ForbidUPDATE"));
    p.t().post();
    QCOMPARE(p.t().state(), State::Browse);
    QVERIFY(p.inFile().contains(QStringLiteral("Ожидает")));
}

void TestTable::postWhileAnotherUserWrites() {
    TempDatabase db;
    db.addDolznost(QStringLiteral("Кассир"));
    kb::Connection mine(db.path(), kb::Connection::Mode::OpenExisting, 50);
    Table t(mine, kb::schema::table(QStringLiteral("Dolznost")));
    t.open();
    t.edit();
    t.fieldByName(QStringLiteral("Nazvanie")).setText(QStringLiteral("Старший кассир"));
    db.connection().execute(QStringLiteral("BEGIN IMMEDIATE"));
    const QString message = kbtest::errorMessage([&] { t.post(); });
    QVERIFY2(message.contains(QStringLiteral("занята другим пользователем")), qPrintable(message));
    QCOMPARE(t.state(), State::Edit);
    QVERIFY_THROWS_EXCEPTION(DbError, t.remove());
    QCOMPARE(t.state(), State::Edit);
    db.connection().execute(QStringLiteral("COMMIT"));
    t.post();
    QCOMPARE(db.scalar(QStringLiteral("SELECT Nazvanie FROM Dolznost")), Value(QStringLiteral("Старший кассир")));
}

void TestTable::removeRows() {
    Positions p;
    p.t().next();
    QSignalSpy removed(&p.t(), &Table::rowRemoved);
    p.t().remove();
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(0).toInt(), 1);
    QCOMPARE(p.shown(), QStringList({kPositions[0], kPositions[2]}));
    QCOMPARE(p.inFile(), p.shown());
    QCOMPARE(p.t().currentRow(), 1); // the next row took its place

    p.t().remove(); // the last row: the cursor goes to the new last row
    QCOMPARE(p.t().currentRow(), 0);

    p.t().edit();
    p.name().setText(QStringLiteral("Не сохранять"));
    p.t().remove(); // deleting the edited row drops the edit
    QCOMPARE(p.t().state(), State::Browse);
    QVERIFY(p.t().isEmpty());
    QVERIFY(p.t().bof() && p.t().eof());
    QCOMPARE(p.t().currentRow(), -1);
    QCOMPARE(p.inFile(), QStringList());
}

void TestTable::removeWhileInsertingCancels() {
    Positions p;
    p.t().insert();
    p.t().remove();
    QCOMPARE(p.t().state(), State::Browse);
    QCOMPARE(p.t().recordCount(), 3);
    QCOMPARE(p.inFile().size(), 3);
}

void TestTable::rowDeletedByAnotherUser_data() {
    QTest::addColumn<bool>("deleting");
    QTest::newRow("update") << false;
    QTest::newRow("delete") << true;
}

void TestTable::rowDeletedByAnotherUser() {
    QFETCH(bool, deleting);
    Positions p;
    p.t().next();
    if (!deleting) {
        p.t().edit();
        p.name().setText(QStringLiteral("Поздно"));
    }
    {
        kb::Connection other(p.db.path());
        other.execute(QStringLiteral("DELETE FROM Dolznost WHERE ID = %1").arg(p.ids[1]));
    }
    const QString message = kbtest::errorMessage([&] { deleting ? p.t().remove() : p.t().post(); });
    QVERIFY2(message.contains(QStringLiteral("не найдена")) && message.contains(QStringLiteral("'Dolznost'")) &&
                 message.contains(QStringLiteral("ID = %1").arg(p.ids[1])),
             qPrintable(message));
    QCOMPARE(p.t().state(), deleting ? State::Browse : State::Edit);
    QCOMPARE(p.t().recordCount(), 3);
    QCOMPARE(p.inFile(), QStringList({kPositions[0], kPositions[2]}));
}

void TestTable::refreshKeepsTheCurrentRow() {
    Positions p;
    p.t().last();
    {
        kb::Connection other(p.db.path());
        other.execute(QStringLiteral("DELETE FROM Dolznost WHERE ID = %1").arg(p.ids[0]));
        other.execute(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Новый')"));
        other.execute(QStringLiteral("UPDATE Dolznost SET Nazvanie = 'Старший кассир' WHERE ID = %1").arg(p.ids[2]));
    }
    QSignalSpy reset(&p.t(), &Table::dataReset);
    p.t().refresh();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(p.shown(), QStringList({kPositions[1], QStringLiteral("Старший кассир"), QStringLiteral("Новый")}));
    QCOMPARE(p.t().currentRow(), 1);
    QCOMPARE(p.t().field(0).value(), Value(p.ids[2]));
}

void TestTable::refreshAfterTheCurrentRowVanished() {
    Positions p;
    p.t().last();
    {
        kb::Connection other(p.db.path());
        other.execute(QStringLiteral("DELETE FROM Dolznost WHERE ID = %1").arg(p.ids[2]));
    }
    p.t().refresh();
    QCOMPARE(p.t().recordCount(), 2);
    QCOMPARE(p.t().currentRow(), 1);
    {
        kb::Connection other(p.db.path());
        other.execute(QStringLiteral("DELETE FROM Dolznost"));
    }
    p.t().refresh();
    QVERIFY(p.t().isEmpty());
    QCOMPARE(p.t().currentRow(), -1);
    QVERIFY(p.t().bof() && p.t().eof());
}

void TestTable::fieldChangeSignals() {
    Positions p;
    QSignalSpy field(&p.t(), &Table::fieldChanged);
    p.t().edit();
    p.name().setText(QStringLiteral("Другое"));
    QCOMPARE(field.count(), 1);
    QCOMPARE(field.at(0).at(0).toInt(), 1);
    p.name().setText(QStringLiteral("Другое")); // the same value: nothing changed
    QCOMPARE(field.count(), 1);
    p.name().setValue(Value());
    QCOMPARE(field.count(), 2);
}

void TestTable::pendingEditOutlivesItsWidgets() {
    Positions p;
    {
        // An editor comes, binds to the table through a data source, types, and goes.
        QObject editor;
        auto* source = new kb::DataSource(&p.t(), &editor);
        auto* table = static_cast<Table*>(source->dataSet());
        table->moveTo(2);
        table->edit();
        table->fieldByName(QStringLiteral("Nazvanie")).setText(QStringLiteral("Недописанное"));
    }
    QCOMPARE(p.t().state(), State::Edit);
    QCOMPARE(p.t().currentRow(), 2);
    QCOMPARE(p.name().value(), Value(QStringLiteral("Недописанное")));
    QCOMPARE(p.inFile()[2], kPositions[2]);
    kb::DataSource again(&p.t());
    static_cast<Table*>(again.dataSet())->post();
    QCOMPARE(p.inFile()[2], QStringLiteral("Недописанное"));
}

void TestTable::closeDropsThePendingEdit() {
    Positions p;
    p.t().insert();
    p.name().setText(QStringLiteral("Брошен"));
    p.t().close();
    QVERIFY(!p.t().isActive());
    QVERIFY(!p.t().canModify());
    p.t().open();
    QCOMPARE(p.t().state(), State::Browse);
    QCOMPARE(p.t().recordCount(), 3);
    QCOMPARE(p.inFile().size(), 3);
}

void TestTable::closedTableRefuses() {
    TempDatabase db;
    Table t(db.connection(), kb::schema::table(QStringLiteral("Dolznost")));
    t.setObjectName(QStringLiteral("ADOTableDolznost"));
    const QString closed = QStringLiteral("Набор данных ADOTableDolznost закрыт: операция невозможна");
    QCOMPARE(kbtest::errorMessage([&] { t.edit(); }), closed);
    QCOMPARE(kbtest::errorMessage([&] { t.insert(); }), closed);
    QCOMPARE(kbtest::errorMessage([&] { t.post(); }), closed);
    QCOMPARE(kbtest::errorMessage([&] { t.refresh(); }), closed);
    QCOMPARE(kbtest::errorMessage([&] { t.next(); }), closed);
    QCOMPARE(kbtest::errorMessage([&] { t.recordCount(); }), closed);
    QCOMPARE(kbtest::errorMessage([&] { t.field(1).value(); }), closed);
}

// Whatever is asked first, the rows are those of the file at that moment and
// the current row is the first of them (unless the first use moved it).
void TestTable::firstUseSeesTheFileAsItIsThen_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("use");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("bof");
    QTest::addColumn<bool>("eof");
    const QString added = QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Методист')");
    const QString deletedFirst = QStringLiteral("DELETE FROM Dolznost WHERE Nazvanie = 'Бухгалтер'");
    const QString emptied = QStringLiteral("DELETE FROM Dolznost");
    const QString renamed = QStringLiteral("UPDATE Dolznost SET Nazvanie = 'Главбух' WHERE Nazvanie = 'Бухгалтер'");
    const QStringList four{"Бухгалтер", "Директор", "Кассир", "Методист"};
    const QStringList two{"Директор", "Кассир"};
    const QStringList renamedList{"Главбух", "Директор", "Кассир"};
    QTest::newRow("row added, current row asked") << added << "currentRow" << four << 0 << true << false;
    QTest::newRow("first row deleted, bof asked") << deletedFirst << "bof" << two << 0 << true << false;
    QTest::newRow("emptied, eof asked") << emptied << "eof" << QStringList() << -1 << true << true;
    QTest::newRow("emptied, isEmpty asked") << emptied << "isEmpty" << QStringList() << -1 << true << true;
    QTest::newRow("row added, count asked") << added << "recordCount" << four << 0 << true << false;
    QTest::newRow("renamed, value asked") << renamed << "value" << renamedList << 0 << true << false;
    QTest::newRow("renamed, field shown") << renamed << "field" << renamedList << 0 << true << false;
    QTest::newRow("first row deleted, next") << deletedFirst << "next" << two << 1 << false << false;
    QTest::newRow("row added, last") << added << "last" << four << 3 << false << true;
    QTest::newRow("row added, grid click") << added << "moveTo" << four << 1 << false << false;
    QTest::newRow("renamed, edit") << renamed << "edit" << renamedList << 0 << true << false;
    QTest::newRow("emptied, edit starts a row") << emptied << "edit" << QStringList{QString()} << 0 << false << false;
    QTest::newRow("first row deleted, insert")
        << deletedFirst << "insert" << QStringList{QString(), "Директор", "Кассир"} << 0 << false << false;
    QTest::newRow("row added, refresh") << added << "refresh" << four << 0 << true << false;
}

void TestTable::firstUseSeesTheFileAsItIsThen() {
    QFETCH(QString, change);
    QFETCH(QString, use);
    QFETCH(QStringList, shown);
    QFETCH(int, row);
    QFETCH(bool, bof);
    QFETCH(bool, eof);
    Positions p;
    p.byAnotherUser(change);
    firstUse(p.t(), use);
    QCOMPARE(p.t().currentRow(), row);
    QCOMPARE(p.t().bof(), bof);
    QCOMPARE(p.t().eof(), eof);
    QCOMPARE(p.shown(), shown);
    if (use == QLatin1String("edit") && !shown[0].isEmpty()) {
        QCOMPARE(p.t().state(), State::Edit);
        QCOMPARE(p.name().value(), Value(shown[0])); // the edit starts from the row as it is in the file
    }
}

void TestTable::laterChangesWaitForRefresh() {
    Positions p;
    QCOMPARE(p.t().recordCount(), 3);
    p.byAnotherUser(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Методист')"));
    p.byAnotherUser(QStringLiteral("UPDATE Dolznost SET Nazvanie = 'Главбух' WHERE ID = %1").arg(p.ids[0]));
    QCOMPARE(p.shown(), QStringList(std::begin(kPositions), std::end(kPositions)));
    p.t().last();
    QCOMPARE(p.t().currentRow(), 2);
    p.t().refresh();
    QCOMPARE(p.shown(), QStringList({"Главбух", kPositions[1], kPositions[2], "Методист"}));
    QCOMPARE(p.t().currentRow(), 2);

    // Closing forgets the rows: after opening again they are read afresh.
    p.t().close();
    p.byAnotherUser(QStringLiteral("DELETE FROM Dolznost WHERE Nazvanie = 'Методист'"));
    p.t().open();
    QCOMPARE(p.shown(), QStringList({"Главбух", kPositions[1], kPositions[2]}));
    QCOMPARE(p.t().currentRow(), 0);
}

// Something that follows the current row while the table opens is told the
// first row, so the rows are read then; otherwise they wait for their first
// use, and that read notifies no one, since nobody saw another position.
void TestTable::signalsOnOpening_data() {
    QTest::addColumn<bool>("following");
    QTest::addColumn<int>("positions");
    QTest::newRow("followed, with rows") << true << 3;
    QTest::newRow("followed, empty") << true << 0;
    QTest::newRow("not followed, with rows") << false << 3;
    QTest::newRow("not followed, empty") << false << 0;
}

void TestTable::signalsOnOpening() {
    QFETCH(bool, following);
    QFETCH(int, positions);
    TempDatabase db;
    for (int i = 0; i < positions; ++i)
        db.addDolznost(kPositions[i]);
    Table t(db.connection(), kb::schema::table(QStringLiteral("Dolznost")));
    QStringList order;
    QObject::connect(&t, &Table::dataReset, [&] { order << QStringLiteral("reset"); });
    QObject::connect(&t, &Table::activeChanged,
                     [&](bool active) { order << (active ? QStringLiteral("active") : QStringLiteral("inactive")); });
    QObject::connect(&t, &Table::stateChanged, [&](State s) { order << QStringLiteral("state %1").arg(int(s)); });
    std::unique_ptr<QSignalSpy> followed;
    if (following)
        followed = std::make_unique<QSignalSpy>(&t, &Table::currentRowChanged);
    t.open();
    QCOMPARE(order, QStringList({"reset", "active", QStringLiteral("state %1").arg(int(State::Browse))}));
    if (following) {
        QCOMPARE(followed->count(), positions > 0 ? 1 : 0);
        if (positions > 0)
            QCOMPARE(followed->at(0).at(0).toInt(), 0);
    }

    db.addDolznost(QStringLiteral("Методист"));
    QSignalSpy later(&t, &Table::currentRowChanged);
    QSignalSpy reset(&t, &Table::dataReset);
    // Read at opening when followed, so the new row is not in the snapshot.
    const int count = t.recordCount();
    QCOMPARE(count, following ? positions : positions + 1);
    QCOMPARE(t.currentRow(), count > 0 ? 0 : -1);
    QVERIFY(t.bof());
    QCOMPARE(t.eof(), count == 0);
    QCOMPARE(later.count(), 0);
    QCOMPARE(reset.count(), 0);
    t.next();
    QCOMPARE(later.count(), count > 0 ? 1 : 0);
    if (count > 0)
        QCOMPARE(later.at(0).at(0).toInt(), count > 1 ? 1 : 0);
}

// A table closed before anyone asked for its rows has no position to leave.
void TestTable::signalsOnClosing_data() {
    QTest::addColumn<bool>("used");
    QTest::newRow("rows never read") << false;
    QTest::newRow("rows read") << true;
}

void TestTable::signalsOnClosing() {
    QFETCH(bool, used);
    Positions p;
    if (used)
        QCOMPARE(p.t().currentRow(), 0);
    QSignalSpy current(&p.t(), &Table::currentRowChanged);
    QSignalSpy reset(&p.t(), &Table::dataReset);
    QSignalSpy active(&p.t(), &Table::activeChanged);
    p.t().close();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(active.count(), 1);
    QCOMPARE(current.count(), used ? 1 : 0);
    if (used)
        QCOMPARE(current.at(0).at(0).toInt(), -1);
    QCOMPARE(p.t().currentRow(), -1);
    QVERIFY(p.t().bof() && p.t().eof());
    QVERIFY(p.t().isEmpty());
}

// The read at first use can fail (another user's lock, the table gone): it
// fails with a message naming the table, the table stays open, and the next
// use reads the rows as they are then.
void TestTable::failedFirstReadIsRetried_data() {
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("said");
    QTest::newRow("locked by another user") << true << "занята другим пользователем";
    QTest::newRow("table renamed by another user") << false << "no such table";
}

void TestTable::failedFirstReadIsRetried() {
    QFETCH(bool, locked);
    QFETCH(QString, said);
    TempDatabase db;
    db.addDolznost(kPositions[0]);
    db.addDolznost(kPositions[1]);
    kb::Connection mine(db.path(), kb::Connection::Mode::OpenExisting, 50);
    Table t(mine, kb::schema::table(QStringLiteral("Dolznost")));
    t.open();
    db.connection().execute(locked ? QStringLiteral("BEGIN EXCLUSIVE")
                                   : QStringLiteral("ALTER TABLE Dolznost RENAME TO Gone"));
    const std::function<void()> uses[] = {[&] { t.recordCount(); }, [&] { t.currentRow(); }, [&] { t.next(); },
                                          [&] { t.edit(); }};
    for (const auto& use : uses) {
        const QString message = kbtest::errorMessage(use);
        QVERIFY2(message.startsWith(QStringLiteral("Таблицу 'Dolznost' прочитать не удалось: ")) &&
                     message.contains(said),
                 qPrintable(message));
    }
    QVERIFY(t.isActive());
    QCOMPARE(t.state(), State::Browse);
    if (locked) {
        db.connection().execute(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Кассир')"));
        db.connection().execute(QStringLiteral("COMMIT"));
    } else {
        db.connection().execute(QStringLiteral("ALTER TABLE Gone RENAME TO Dolznost"));
        db.connection().execute(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES ('Кассир')"));
    }
    QCOMPARE(t.currentRow(), 0);
    QVERIFY(t.bof() && !t.eof());
    QCOMPARE(t.recordCount(), 3);
    QCOMPARE(t.value(2, 1), Value(kPositions[2]));
}

// Each value is held in its field's type, whatever the file's column gives,
// both in the snapshot and in a row read back after a post.
void TestTable::snapshotTypes_data() {
    QTest::addColumn<QString>("create");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("table");
    QTest::addColumn<Value>("expected");
    const QString loose = QStringLiteral("CREATE TABLE Stavka (ID INTEGER PRIMARY KEY, IDSotr, Sum)");
    const QString textDates = QStringLiteral("CREATE TABLE Premia (ID INTEGER PRIMARY KEY, IDSotr INTEGER, Data TEXT, "
                                             "Premia TEXT)");
    const QString dated = QStringLiteral("CREATE TABLE Premia (ID INTEGER PRIMARY KEY, IDSotr INTEGER, Data DATETIME, "
                                         "Premia TEXT)");
    const QString datedName = QStringLiteral("CREATE TABLE Dolznost (ID INTEGER PRIMARY KEY, Nazvanie DATETIME)");
    const auto april = [](int hour, int minute) { return Value(kb::datetime::make(2013, 4, 1, hour, minute)); };
    QTest::newRow("whole number in a float field") << loose << "1, 1200"
                                                   << "Stavka" << Value(1200.0);
    QTest::newRow("fraction in a float field") << loose << "1, 1200.5"
                                               << "Stavka" << Value(1200.5);
    QTest::newRow("text in a float field") << loose << "1, 'много'"
                                           << "Stavka" << Value(QStringLiteral("много"));
    QTest::newRow("null in a float field") << loose << "1, NULL"
                                           << "Stavka" << Value();
    QTest::newRow("date text in a date column") << dated << "1, '2013-04-01', '10'"
                                                << "Premia" << april(0, 0);
    QTest::newRow("date and time text") << dated << "1, '2013-04-01 10:30:00', '10'"
                                        << "Premia" << april(10, 30);
    QTest::newRow("date text in a text column") << textDates << "1, '2013-04-01', '10'"
                                                << "Premia" << april(0, 0);
    QTest::newRow("no date in a date column") << dated << "1, '01.04.2013', '10'"
                                              << "Premia" << Value(QStringLiteral("01.04.2013"));
    QTest::newRow("no such day") << dated << "1, '2013-02-30', '10'"
                                 << "Premia" << Value(QStringLiteral("2013-02-30"));
    QTest::newRow("number in a date column") << dated << "1, 41365.5, '10'"
                                             << "Premia" << Value(41365.5);
    QTest::newRow("empty text in a date column") << dated << "1, '', '10'"
                                                 << "Premia" << Value(QString(""));
    QTest::newRow("date text in a text field of a date column") << datedName << "'2013-04-01'"
                                                                << "Dolznost" << april(0, 0);
}

void TestTable::snapshotTypes() {
    QFETCH(QString, create);
    QFETCH(QString, stored);
    QFETCH(QString, table);
    QFETCH(Value, expected);
    TempDatabase db(TempDatabase::Content::Empty);
    db.exec(create);
    const kb::schema::TableDef def = kb::schema::table(table);
    QStringList columns;
    for (size_t i = 1; i < def.fields.size(); ++i)
        columns << def.fields[i].name;
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(QLatin1Char(',')), stored));
    db.connection().reloadColumnTypes();
    Table t(db.connection(), def);
    t.open();
    const int column = table == QLatin1String("Dolznost") ? 1 : 2;
    QCOMPARE(t.value(0, column), expected);
    if (column == 2) { // another column changes, this one is written back as it was
        t.edit();
        t.field(1).setValue(Value(2));
        t.post();
        QCOMPARE(db.scalar(QStringLiteral("SELECT IDSotr FROM %1").arg(table)), Value(2));
        QCOMPARE(t.value(0, column), expected);
    }
}

// Texts that repeat and texts that do not, empty texts and nulls, in many
// rows: each row keeps its own value.
void TestTable::repeatedAndDistinctTexts() {
    TempDatabase db;
    db.exec(QStringLiteral("BEGIN"));
    std::vector<Value> names;
    std::vector<Value> dates;
    for (int i = 0; i < 5000; ++i) {
        if (i % 7 == 0)
            names.emplace_back(QStringLiteral("Общая"));
        else if (i % 11 == 0)
            names.emplace_back(QString(""));
        else if (i % 13 == 0)
            names.emplace_back();
        else
            names.emplace_back(QStringLiteral("Должность %1").arg(i));
        // Some two thousand dates: more than any small memory of recent texts holds.
        dates.push_back(i % 17 == 0 ? Value()
                                    : Value(kb::datetime::make(2000 + (i % 300) / 12, 1 + i % 12, 1 + i % 28)));
        db.exec(QStringLiteral("INSERT INTO Dolznost (Nazvanie) VALUES (?1)"), {names.back()});
        db.exec(QStringLiteral("INSERT INTO Premia (IDSotr, Data, Premia) VALUES (?1, ?2, ?3)"),
                {Value(i), dates.back(), i % 3 == 0 ? Value(QStringLiteral("10")) : Value(QString(""))});
    }
    db.exec(QStringLiteral("COMMIT"));
    Table positions(db.connection(), kb::schema::table(QStringLiteral("Dolznost")));
    Table bonuses(db.connection(), kb::schema::table(QStringLiteral("Premia")));
    positions.open();
    bonuses.open();
    QCOMPARE(positions.recordCount(), 5000);
    QCOMPARE(bonuses.recordCount(), 5000);
    for (int i = 0; i < 5000; ++i) {
        QCOMPARE(positions.value(i, 1), names[size_t(i)]);
        QCOMPARE(bonuses.value(i, 2), dates[size_t(i)]);
        QCOMPARE(bonuses.value(i, 3), i % 3 == 0 ? Value(QStringLiteral("10")) : Value(QString("")));
    }
}

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
