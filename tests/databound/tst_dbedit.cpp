// The data-bound edit over real database files: what it shows, what typing writes and when, and what it refuses (each
// field's refusals are tried through the record editors in tst_editorforms).

#include "DbEdit.h"
#include "Schema.h"
#include "ScriptedModalDialogs.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLocale>
#include <QVBoxLayout>

using kb::sql::Value;
using namespace Qt::StringLiterals;
using namespace kbtest;

namespace {

// The employees' table of a fresh database holding two rows, and a shown, active window with a data-bound edit on one
// of its fields and a plain edit to move the focus to.
struct Bench {
    TempDatabase db;
    kb::dataset::Table table;
    kb::dataset::DataSource source{&table};
    QWidget window;
    kb::databound::DbEdit* edit = new kb::databound::DbEdit(&window);
    QLineEdit* other = new QLineEdit(&window);

    Bench(const QString& fieldName, const Value& stored, int maxChars = 0)
        : table(db.connection(), kb::dataset::schema::table(u"Sotr"_s)) {
        for (int i = 0; i < 2; ++i)
            db.insert(u"Sotr"_s, {{fieldName, stored}});
        table.open();
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        edit->setMaxChars(maxChars);
        edit->setDataSource(&source, fieldName);
        other->setFocus();
        window.show();
        QApplication::setActiveWindow(&window);
    }
    bool focusEdit() {
        edit->setFocus();
        return QTest::qWaitForWindowActive(&window) && edit->hasFocus();
    }
    // The field of the first row as the file holds it.
    Value stored() { return db.scalar(u"SELECT %1 FROM Sotr WHERE ID = 1"_s.arg(edit->dataField())); }
};

} // namespace

class TestDbEdit : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // Out of focus the display text, in focus the edit text through the mask, the locale's separator for '/'.
    void showsFieldByFocus() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Bench b(u"DataR"_s, at(1985, 3, 12));
        QCOMPARE(b.edit->text(), u"12.03.1985"_s);
        QVERIFY(b.focusEdit());
        QCOMPARE(b.edit->text(), u"12/03/85"_s);
        b.other->setFocus();
        QCOMPARE(b.edit->text(), u"12.03.1985"_s);
        QCOMPARE(b.table.state(), kb::dataset::Table::State::Browse);
    }

    // The character limit stops typing at its length but never cuts a longer stored value; without one a text field's
    // own size is the limit; the auto-numbered ID cannot be typed into.
    void limitsTyping_data() {
        columns<QString, int, QString, QString, QString>("field", "limit", "stored", "keys", "editing");
        row("limit reached", u"FIO"_s, 3, u"1"_s, u"2345"_s, u"123"_s);
        row("longer value kept", u"FIO"_s, 3, u"12345"_s, QString(), u"12345"_s);
        row("field size", u"FIO"_s, 0, QString(), QString(256, u'x'), QString(255, u'x'));
        row("ID", u"ID"_s, 0, QString(), u"7"_s, u"1"_s);
    }
    void limitsTyping() {
        const auto [field, limit, stored, keys, editing] =
            fetch<QString, int, QString, QString, QString>("field", "limit", "stored", "keys", "editing");
        Bench b(field, stored.isEmpty() ? Value() : Value(stored), limit);
        QVERIFY(b.focusEdit());
        b.edit->end(false);
        QTest::keyClicks(b.edit, keys);
        QCOMPARE(b.edit->text(), editing);
        QCOMPARE(b.table.isEditing(), field != u"ID"_s && !keys.isEmpty());
    }

    // Out of focus a value longer than the box shows its beginning. One too long to show whole is shown cut and
    // cannot be typed into, so the cut text is never written back.
    void showsTheBeginningOfLongValues_data() {
        columns<int, int, bool>("length", "shown", "readOnly");
        row("longer than the box", 200, 200, false);
        row("too long to show", 300000, 4096, true);
    }
    void showsTheBeginningOfLongValues() {
        const auto [length, shown, readOnly] = fetch<int, int, bool>("length", "shown", "readOnly");
        const Value name(QString(length, u'ф'));
        Bench b(u"Adres"_s, name);
        QVERIFY(b.focusEdit());
        QTest::keyClicks(b.edit, u"xy"_s);
        b.other->setFocus();
        QCOMPARE(b.edit->cursorPosition(), 0);
        QCOMPARE(b.edit->text().size(), shown + (readOnly ? 0 : 2));
        QCOMPARE(b.edit->isReadOnly(), readOnly);
        b.table.post();
        QCOMPARE(b.stored() == name, readOnly);
    }

    // Typing puts the table into edit state; the text reaches the field on leaving the control, on posting and on
    // moving to another row (which posts), converted by the field's type and mask. Escape drops what was typed.
    void typedTextIsWritten_data() {
        columns<QString, QString, QString, Value>("field", "keys", "how", "stored");
        row("telephone, corrected", u"Telefon"_s, u"12345\b\b\b34567890"_s, u"post"_s, Value(u"(123)456-7890"_s));
        row("short area code", u"Telefon"_s, u"12)3456789"_s, u"move"_s, Value(u"( 12)345-6789"_s));
        row("birth date", u"DataR"_s, u"010429"_s, u"leave"_s, Value(at(2029, 4, 1)));
        row("escape", u"FIO"_s, u"sky\x1b"_s, u"post"_s, Value());
    }
    void typedTextIsWritten() {
        const auto [field, keys, how, stored] =
            fetch<QString, QString, QString, Value>("field", "keys", "how", "stored");
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        Bench b(field, Value());
        QVERIFY(b.focusEdit());
        QTest::keyClicks(b.edit, keys);
        QCOMPARE(b.table.state(), kb::dataset::Table::State::Edit);
        QCOMPARE(b.stored(), Value()); // nothing written while typing
        if (how == u"leave"_s)
            b.other->setFocus();
        if (how == u"move"_s)
            b.table.next();
        else
            b.table.post();
        QCOMPARE(b.table.state(), kb::dataset::Table::State::Browse);
        QCOMPARE(b.stored(), stored);
        QVERIFY(!b.edit->isModified());
    }

    // Text the field refuses (31 February) is not written on leaving the edit: the message through the default error
    // handler, the focus and the typed text kept, the row still being edited.
    void refusedTextKeepsFocusAndText() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        ScopedScriptedDialogs dialogs;
        dialogs->expectErrorBox();
        Bench b(u"DataR"_s, Value());
        QVERIFY(b.focusEdit());
        QTest::keyClicks(b.edit, u"310229"_s);
        b.other->setFocus();
        QVERIFY(b.edit->hasFocus() && b.edit->text() == u"31.02.29"_s && dialogs->calls().size() == 1);
        QCOMPARE(b.table.state(), kb::dataset::Table::State::Edit);
        QCOMPARE(b.stored(), Value());
    }
};

QTEST_MAIN(TestDbEdit)
#include "tst_dbedit.moc"
