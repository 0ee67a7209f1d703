// The lookup combo box over real database files: the text it shows for a key, its list, what choosing writes, and how
// it follows its lookup table.

#include "DbLookupComboBox.h"
#include "Schema.h"
#include "TestRows.h"
#include "TestSupport.h"

using kb::sql::Value;
using namespace kbtest;
using namespace Qt::StringLiterals;

namespace {

// Positions, and one employee whose position is the given key, under a combo box bound as the employee editor binds
// its position.
struct Bench {
    TempDatabase db;
    qint64 accountant = db.addDolznost(u"Бухгалтер"_s);
    qint64 director = db.addDolznost(u"Директор"_s);
    qint64 cashier = db.addDolznost(u"Кассир"_s);
    qint64 employee;
    kb::dataset::Table sotr{db.connection(), kb::dataset::schema::table(u"Sotr"_s)};
    kb::dataset::Table dolznost{db.connection(), kb::dataset::schema::table(u"Dolznost"_s)};
    kb::dataset::DataSource sotrSource{&sotr};
    kb::dataset::DataSource dolznostSource{&dolznost};
    kb::databound::DbLookupComboBox combo;

    explicit Bench(const Value& position) : employee(db.addSotr(u"Иванов И.И."_s, position)) {
        sotr.open();
        dolznost.open();
        combo.setListSource(&dolznostSource, u"ID"_s, u"Nazvanie"_s);
        combo.setDataSource(&sotrSource, u"IDDolznost"_s);
    }
    QString items() const {
        QStringList texts;
        for (int i = 0; i < combo.count(); ++i)
            texts << combo.itemText(i);
        return texts.join(u',');
    }
    Value storedPosition() { return db.scalar(u"SELECT IDDolznost FROM Sotr WHERE ID = ?1"_s, {Value(employee)}); }
};

} // namespace

class TestDbLookupComboBox : public QObject {
    Q_OBJECT
private slots:
    // The text of the lookup row with the field's key; an empty box for a key no row has, and for none.
    void showsLookupText_data() {
        columns<int, QString>("position", "shown");
        row("matching key", 2, u"Директор"_s);
        row("key of no row", 99, QString());
        row("no key", 0, QString());
    }
    void showsLookupText() {
        const auto [position, shown] = fetch<int, QString>("position", "shown");
        Bench b(position ? Value(qint64(position)) : Value());
        QCOMPARE(b.items(), u"Бухгалтер,Директор,Кассир"_s);
        QCOMPARE(b.combo.currentText(), shown);
        QCOMPARE(b.combo.currentIndex() >= 0, !shown.isEmpty());
    }

    // Choosing an entry with the keyboard puts the table into edit state and writes that row's ID; posting stores it.
    void choosingWritesKey() {
        Bench b(Value(qint64(1)));
        b.combo.show();
        QTest::keyClick(&b.combo, Qt::Key_Down);
        QTest::keyClick(&b.combo, Qt::Key_Down);
        QCOMPARE(b.sotr.state(), kb::dataset::Table::State::Edit);
        QCOMPARE(b.combo.currentText(), u"Кассир"_s);
        QCOMPARE(b.storedPosition(), Value(b.accountant));
        b.sotr.post();
        QCOMPARE(b.storedPosition(), Value(b.cashier));
    }

    // A position added, renamed or deleted through its own table object shows in the list at once, in the table's
    // order; deleting the employee's position leaves the employee and his key, and empties the box.
    void followsLookupTable() {
        Bench b(Value(qint64(2)));
        b.dolznost.moveTo(1);
        b.dolznost.insert(); // before the current row: the table's order is no longer that of the keys
        b.dolznost.fieldByName(u"Nazvanie"_s).setText(u"Завхоз"_s);
        b.dolznost.post();
        QCOMPARE(b.items(), u"Бухгалтер,Завхоз,Директор,Кассир"_s);
        b.dolznost.moveTo(2);
        b.dolznost.edit();
        b.dolznost.fieldByName(u"Nazvanie"_s).setText(u"Руководитель"_s);
        b.dolznost.post();
        QCOMPARE(b.combo.currentText(), u"Руководитель"_s);
        b.dolznost.remove();
        QCOMPARE(b.items(), u"Бухгалтер,Завхоз,Кассир"_s);
        QCOMPARE(b.combo.currentText(), QString());
        QCOMPARE(b.storedPosition(), Value(b.director));
    }
};

QTEST_MAIN(TestDbLookupComboBox)
#include "tst_dblookupcombobox.moc"
