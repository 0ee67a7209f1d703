#include "AppearanceSetup.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"
#include "ErrorText.h"
#include "MainWindowProgram.h"
#include "NavButton.h"
#include "ShellTestMain.h"
#include "TFormMsgDlg.h"
#include "Table.h"
#include "TestRows.h"

#include <QLabel>

using namespace kbtest;
using namespace Qt::StringLiterals;
using kb::databound::DbEdit;
using Button = kb::databound::NavigatorButton;
using State = kb::dataset::Table::State;
using kb::ui::IdCancel, kb::ui::IdNo, kb::ui::IdYes;

namespace {

// The main window on the sample staff, with the editors opened from its menu.
struct Program : MainWindowProgram {
    QAction* item(const QString& name) const { return window.findChild<QAction*>(name); }
    // Opens an editor from its menu item and runs the action on it while it is shown.
    void withEditor(const QString& itemName, const std::function<void(QDialog&)>& action) {
        dialogs->scriptDialogAction([&](QDialog& form) {
            QApplication::setActiveWindow(&form);
            QVERIFY(QTest::qWaitForWindowActive(&form));
            action(form);
        });
        item(itemName)->trigger();
    }
    kb::dataset::Table& sotr() const { return *dataModule->staffTable; }
};

const auto edit = [](QDialog& form, const char* name) { return form.findChild<DbEdit*>(QLatin1String(name)); };
const auto navigator = [](QDialog& form) { return form.findChild<kb::databound::DbNavigator*>(u"DBNavigator1"_s); };
// Types over the edit's text, as the user does once the edit has the focus.
void type(DbEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// The form's controls in their tab order from the one with the focus: an edit with its field, a lookup with the text
// it shows, the navigator; "?" marks a binding to another data source than the form's.
QString controls(QDialog& form, const kb::dataset::DataSource* source) {
    const auto bound = [source](const kb::dataset::DataSource* s) { return s == source ? QString() : u"?"_s; };
    QStringList seen;
    QWidget* w = form.focusWidget();
    do {
        if (auto* e = qobject_cast<DbEdit*>(w); e && e->parentWidget() == &form)
            seen << e->objectName() + u'=' + e->dataField() + bound(e->dataSource());
        else if (auto* lookup = qobject_cast<kb::databound::DbLookupComboBox*>(w))
            seen << lookup->objectName() + u':' + lookup->currentText();
        else if (auto* n = qobject_cast<kb::databound::DbNavigator*>(w))
            seen << n->objectName() + bound(n->dataSource());
        w = w->nextInFocusChain();
    } while (w && w != form.focusWidget());
    return seen.join(u' ');
}

using Step = std::function<void(Program&)>;

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(State)

class TestEditorForms : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { kb::app::setupAppearance(*qApp); }

    // Each item of "База данных" opens its editor: its caption, a fixed size, and its controls in tab order bound to
    // the fields of its table. The editor is gone once closed.
    void opens_data() {
        columns<QString, QString, QString, QString>("item", "table", "caption", "controls");
        const QString fio = u"DBLookupComboBox1:Иванов Иван Иванович"_s;
        row("Сотрудники", u"N4"_s, u"Sotr"_s, u"Сотрудники"_s,
            u"DBEdit1=ID DBNavigator1 DBEdit2=FIO DBLookupComboBox1:Бухгалтер DBEdit3=DataR DBEdit4=Adres "_s
            u"DBEdit5=Passport DBEdit6=INN DBEdit7=Telefon"_s);
        row("Должности", u"N5"_s, u"Dolznost"_s, u"Должности"_s, u"DBNavigator1 DBEdit1=ID DBEdit2=Nazvanie"_s);
        row("Оклад", u"N6"_s, u"Stavka"_s, u"Оклад"_s, u"DBNavigator1 DBEdit1=ID "_s + fio + u" DBEdit2=Sum"_s);
        row("Премия", u"N7"_s, u"Premia"_s, u"Премия"_s,
            u"DBNavigator1 DBEdit1=ID "_s + fio + u" DBEdit2=Data DBEdit3=Premia"_s);
        row("Отработанные часы", u"N12"_s, u"OtrChas"_s, u"Отработанные дни"_s,
            u"DBEdit1=ID DBEdit2=Count "_s + fio + u" DBNavigator1 DBEdit3=Data"_s);
    }
    void opens() {
        const auto [item, table, caption, expected] =
            fetch<QString, QString, QString, QString>("item", "table", "caption", "controls");
        Program p;
        const auto* source = p.dataModule->findChild<kb::dataset::DataSource*>(u"DataSource"_s + table);
        QPointer<QDialog> shown;
        p.withEditor(item, [&](QDialog& form) {
            shown = &form;
            QCOMPARE(form.windowTitle(), caption);
            QCOMPARE(form.minimumSize(), form.maximumSize());
            QCOMPARE(controls(form, source), expected);
        });
        QVERIFY(shown.isNull());
    }

    // Typing a name into the employee editor between two steps, each a navigator button or none (-1); a step of
    // none after typing closes the editor. The table's state, and what the editor shows when opened again, and the
    // file. Closing neither posts nor cancels: the typed text stays with the pending edit.
    void typeThen_data() {
        columns<int, int, State, QString, QString, QString>("before", "after", "state", "id", "name", "file");
        const QString stored = u"Иванов Иван Иванович,Петрова Анна Сергеевна,Сидоров Без Должности"_s;
        row("insert and post", int(Button::Insert), int(Button::Post), State::Browse, u"4"_s, u"Novikov"_s,
            stored + u",Novikov"_s);
        row("close while typing", -1, -1, State::Edit, u"1"_s, u"Novikov"_s, stored);
    }
    void typeThen() {
        const auto [before, after, state, id, name, file] =
            fetch<int, int, State, QString, QString, QString>("before", "after", "state", "id", "name", "file");
        Program p;
        p.withEditor(u"N4"_s, [&](QDialog& form) {
            if (before >= 0)
                navigator(form)->act(Button(before));
            type(edit(form, "DBEdit2"), u"Novikov"_s);
            if (after >= 0)
                navigator(form)->act(Button(after));
            form.close();
            QVERIFY(!form.isVisible());
        });
        p.withEditor(u"N4"_s, [&](QDialog& form) {
            QCOMPARE(edit(form, "DBEdit1")->text(), id);
            QCOMPARE(edit(form, "DBEdit2")->text(), name);
            QCOMPARE(navigator(form)->button(Button::Post)->isEnabled(), state != State::Browse);
        });
        QCOMPARE(p.sotr().state(), state);
        QCOMPARE(p.db.scalar(u"SELECT group_concat(FIO, ',') FROM (SELECT FIO FROM Sotr ORDER BY ID)"_s).text(), file);
    }

    // Text a field or its mask refuses, typed into a form and left with Tab, then the post button, then closing the
    // form: each time the message through the default error handler; the table's own post refused as well; the focus
    // and the typed text kept, the form open, the row still being edited, the file unchanged.
    void refusedText_data() {
        columns<QString, QString, QString, QString>("item", "edit", "keys", "message");
        const QString mask = u"Invalid input value.  Use escape key to abandon changes"_s;
        const QString date = u"'%1' не является правильной датой для поля '%2'"_s;
        const QString integer = u"'%1' is not a valid integer value for field 'Count'"_s;
        const QString real = u"'%1' is not a valid floating point value for field 'Sum'"_s;
        row("birth date 31.02", u"N4"_s, u"DBEdit3"_s, u"310213"_s, date.arg(u"31.02.13"_s, u"DataR"_s));
        row("taxpayer number incomplete", u"N4"_s, u"DBEdit6"_s, u"12345678901"_s, mask);
        row("bonus month 31.02", u"N7"_s, u"DBEdit2"_s, u"310213"_s, date.arg(u"31.02.13"_s, u"Data"_s));
        row("salary not a number", u"N6"_s, u"DBEdit2"_s, u"1,2,3"_s, real.arg(u"1,2,3"_s));
        row("days not a number", u"N12"_s, u"DBEdit2"_s, u"12a"_s, integer.arg(u"12a"_s));
        row("month 31.02.2013", u"N12"_s, u"DBEdit3"_s, u"31.02.2013"_s, date.arg(u"31.02.2013"_s, u"Data"_s));
        row("month of year 10000", u"N12"_s, u"DBEdit3"_s, u"01.04.10000"_s, date.arg(u"01.04.10000"_s, u"Data"_s));
    }
    void refusedText() {
        const auto [item, name, keys, message] =
            fetch<QString, QString, QString, QString>("item", "edit", "keys", "message");
        Program p;
        const QByteArray before = fileBytes(p.db.path());
        for (int i = 0; i < 3; ++i)
            p.dialogs->expectErrorBox();
        p.withEditor(item, [&](QDialog& form) {
            DbEdit* field = edit(form, qPrintable(name));
            type(field, keys);
            const QString typed = field->text();
            QTest::keyClick(field, Qt::Key_Tab);
            navigator(form)->act(Button::Post);
            form.close();
            auto* table = static_cast<kb::dataset::Table*>(field->dataSource()->dataSet());
            QCOMPARE(errorMessage([table] { table->post(); }), message);
            QVERIFY(form.isVisible() && field->hasFocus());
            QCOMPARE(field->text(), typed);
            QCOMPARE(table->state(), State::Edit);
        });
        QStringList shown;
        for (const auto& call : p.dialogs->calls())
            shown << call.text;
        QCOMPARE(shown.mid(1), QStringList(3, kb::ui::withFullStop(message)));
        QCOMPARE(fileBytes(p.db.path()), before);
    }

    // Ending the program asks once for each table with a pending change, in the order of the menu.
    void exitQuestion_data() {
        columns<Step, QList<int>, QString, bool, QString>("before", "answers", "asked", "ends", "file");
        const Step pending = [](Program& p) {
            p.sotr().edit();
            p.sotr().fieldByName(u"FIO"_s).setText(u"Новиков"_s);
            p.dataModule->daysWorkedTable->edit();
        };
        row("nothing pending", Step([](Program&) {}), QList<int>{}, QString(), true, u"Иванов Иван Иванович"_s);
        row("Да posts", pending, QList<int>{IdYes, IdYes}, u"Сотрудники,Отработанные дни"_s, true, u"Новиков"_s);
        row("Нет discards", pending, QList<int>{IdNo, IdNo}, u"Сотрудники,Отработанные дни"_s, true,
            u"Иванов Иван Иванович"_s);
        row("Отмена goes on", pending, QList<int>{IdCancel}, u"Сотрудники"_s, false, u"Иванов Иван Иванович"_s);
        row("a refused post goes on", Step([pending](Program& p) {
                pending(p);
                p.db.exec(u"DELETE FROM Sotr WHERE ID = 1"_s);
                p.dialogs->expectErrorBox();
            }),
            QList<int>{IdYes}, u"Сотрудники"_s, false, QString());
    }
    void exitQuestion() {
        const auto [before, answers, asked, ends, file] =
            fetch<Step, QList<int>, QString, bool, QString>("before", "answers", "asked", "ends", "file");
        Program p;
        before(p);
        QStringList tables;
        for (const int answer : answers) {
            p.dialogs->scriptDialog([&tables, answer](QDialog& dialog) {
                const QString text = static_cast<kb::ui::TFormMsgDlg&>(dialog).textLabel->text();
                tables << text.section(u'«', 1).section(u'»', 0, 0);
                return answer;
            });
        }
        p.item(u"N2"_s)->trigger();
        QCOMPARE(tables.join(u','), asked);
        QCOMPARE(p.window.isVisible(), !ends);
        QCOMPARE(p.sotr().isEditing(), !ends);
        QCOMPARE(p.db.scalar(u"SELECT FIO FROM Sotr WHERE ID = 1"_s).text(), file);
    }
};

KBTEST_SHELL_MAIN(TestEditorForms)

#include "tst_editorforms.moc"
