// The data-bound edit over real database files: what it shows and what typing writes and when (what it refuses is
// tried through the record editors in tst_editorforms).

#include "DataSource.h"
#include "DbEdit.h"
#include "Schema.h"
#include "Table.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLocale>
#include <QVBoxLayout>

using kb::Value;
using namespace Qt::StringLiterals;
using namespace kbtest;

namespace {

// One table object of a fresh database holding two rows, and a shown, active window with a
// data-bound edit on one of its fields and a plain edit to move the focus to.
struct Bench {
    TempDatabase db;
    kb::Table table;
    kb::DataSource source{&table};
    QWidget window;
    kb::editors::DbEdit* edit = new kb::editors::DbEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
    qint64 firstId = 0;

    Bench(const QString& tableName, const QString& fieldName, const Value& stored)
        : table(db.connection(), kb::schema::table(tableName)) {
        for (int i = 0; i < 2; ++i) {
            const qint64 id = db.insert(tableName, {{fieldName, stored}});
            firstId = firstId ? firstId : id;
        }
        table.open();
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        edit->setDataSource(&source);
        edit->setDataField(fieldName);
        other->setFocus();
        window.show();
        QApplication::setActiveWindow(&window);
    }
    bool focusEdit() {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        edit->setFocus();
        return edit->hasFocus();
    }
    // The field of the first row as the file holds it.
    Value stored() {
        return db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE ID = ?1").arg(edit->dataField(), table.tableName()),
                         {Value(firstId)});
    }
};

} // namespace

class TestDbEdit : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // Out of focus the display text, in focus the edit text through the mask, the locale's separator for '/' (the
    // texts of each field are pinned by the fields' test).
    void showsFieldByFocus_data() {
        columns<QLocale, QString>("locale", "editing");
        row("birth date", QLocale(QLocale::Russian, QLocale::Russia), u"12.03.85"_s);
        row("birth date, slash locale", QLocale(QLocale::English, QLocale::UnitedStates), u"12/03/85"_s);
    }
    void showsFieldByFocus() {
        const auto [locale, editing] = fetch<QLocale, QString>("locale", "editing");
        QLocale::setDefault(locale);
        Bench b(u"Sotr"_s, u"DataR"_s, Value(at(1985, 3, 12)));
        const QString shown = u"12.03.1985"_s;
        QCOMPARE(b.edit->text(), shown);
        QVERIFY(b.focusEdit());
        QCOMPARE(b.edit->text(), editing);
        b.other->setFocus();
        QCOMPARE(b.edit->text(), shown);
        QCOMPARE(b.table.state(), kb::Table::State::Browse);
    }

    // The character limit stops typing at its length but never cuts a longer stored value; without one a text field's
    // own size is the limit.
    void limitsTyping_data() {
        columns<QString, QString, int, QString, QString, QString>("table", "field", "limit", "stored", "keys",
                                                                  "editing");
        row("limit reached", u"Premia"_s, u"Premia"_s, 3, u"1"_s, u"2345"_s, u"123"_s);
        row("longer value kept", u"Premia"_s, u"Premia"_s, 3, u"12345"_s, QString(), u"12345"_s);
        row("field size", u"Sotr"_s, u"FIO"_s, 0, QString(), QString(256, u'x'), QString(255, u'x'));
    }
    void limitsTyping() {
        const auto [table, field, limit, stored, keys, editing] =
            fetch<QString, QString, int, QString, QString, QString>("table", "field", "limit", "stored", "keys",
                                                                    "editing");
        Bench b(table, field, stored.isEmpty() ? Value() : Value(stored));
        b.edit->setMaxChars(limit);
        QVERIFY(b.focusEdit());
        b.edit->end(false);
        QTest::keyClicks(b.edit, keys);
        QCOMPARE(b.edit->text(), editing);
    }

    // Typing puts the table into edit state; the text reaches the field on leaving the control, on posting and on
    // moving to another row (which posts), converted by the field's type and mask.
    void typedTextIsWritten_data() {
        columns<QString, QString, QString, QString, Value>("table", "field", "keys", "how", "stored");
        row("name", u"Sotr"_s, u"FIO"_s, u"Ivanov I.I."_s, u"post"_s, Value(u"Ivanov I.I."_s));
        row("telephone, corrected", u"Sotr"_s, u"Telefon"_s, u"12345\b\b\b34567890"_s, u"post"_s,
            Value(u"(123)456-7890"_s));
        row("short area code", u"Sotr"_s, u"Telefon"_s, u"12)3456789"_s, u"move"_s, Value(u"( 12)345-6789"_s));
        row("birth date", u"Sotr"_s, u"DataR"_s, u"010429"_s, u"leave"_s, Value(at(2029, 4, 1)));
        row("days worked", u"OtrChas"_s, u"Count"_s, u"21"_s, u"move"_s, Value(qint64(21)));
    }
    void typedTextIsWritten() {
        const auto [table, field, keys, how, stored] =
            fetch<QString, QString, QString, QString, Value>("table", "field", "keys", "how", "stored");
        Bench b(table, field, Value());
        QVERIFY(b.focusEdit());
        b.edit->selectAll();
        QTest::keyClick(b.edit, Qt::Key_Backspace);
        QCOMPARE(b.table.state(), kb::Table::State::Edit);
        QTest::keyClicks(b.edit, keys);
        QCOMPARE(b.stored(), Value()); // nothing written while typing
        if (how == u"leave"_s) {
            b.other->setFocus();
            b.table.post();
        } else if (how == u"post"_s) {
            b.table.post();
        } else {
            b.table.next();
        }
        QCOMPARE(b.table.state(), kb::Table::State::Browse);
        QCOMPARE(b.stored(), stored);
        QVERIFY(!b.edit->isModified());
    }

    // Escape drops what was typed and shows the field again; the table stays in edit state and posting writes nothing.
    // A cancel of the table drops it as well.
    void escapeAbandonsTyping() {
        Bench b(u"Sotr"_s, u"FIO"_s, Value(u"Петров"_s));
        QVERIFY(b.focusEdit());
        QTest::keyClicks(b.edit, u"sky"_s);
        QCOMPARE(b.edit->text(), u"Петровsky"_s);
        QTest::keyClick(b.edit, Qt::Key_Escape);
        QCOMPARE(b.edit->text(), u"Петров"_s);
        QVERIFY(b.edit->hasFocus());
        b.table.post();
        QCOMPARE(b.stored(), Value(u"Петров"_s));

        QTest::keyClicks(b.edit, u"a"_s);
        b.table.cancel();
        QCOMPARE(b.edit->text(), u"Петров"_s);
        b.other->setFocus();
        QCOMPARE(b.table.state(), kb::Table::State::Browse);
        QCOMPARE(b.stored(), Value(u"Петров"_s));
    }

    // The auto-numbered ID is shown and cannot be typed into.
    void idIsReadOnly() {
        Bench b(u"Dolznost"_s, u"ID"_s, Value());
        QCOMPARE(b.edit->text(), QString::number(b.firstId));
        QVERIFY(b.focusEdit());
        QTest::keyClicks(b.edit, u"7"_s);
        QCOMPARE(b.edit->text(), QString::number(b.firstId));
        QCOMPARE(b.table.state(), kb::Table::State::Browse);
    }
};

QTEST_MAIN(TestDbEdit)
#include "tst_dbedit.moc"
