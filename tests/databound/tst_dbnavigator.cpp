// The record navigator over real database files: which buttons it enables and what each does (that a click first lets
// the control being typed in write its text is tried through the record editors in tst_editorforms).

#include "DbNavigator.h"
#include "NavButton.h"
#include "Schema.h"
#include "ScriptedModalDialogs.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <functional>

using namespace kbtest;
using namespace Qt::StringLiterals;
using Button = kb::databound::NavigatorButton;
using State = kb::dataset::Table::State;

namespace {

// A window with a navigator over a table of positions, bound before the table opens so that every enabling seen is
// one the navigator worked out again when something changed; the modal questions are scripted.
struct Bench {
    ScopedScriptedDialogs dialogs;
    TempDatabase db;
    kb::dataset::Table table;
    kb::dataset::DataSource source{&table};
    QWidget window;
    kb::databound::DbNavigator* navigator = new kb::databound::DbNavigator(&window);

    explicit Bench(int rows = 3) : table(db.connection(), kb::dataset::schema::table(u"Dolznost"_s)) {
        for (int i = 0; i < rows; ++i)
            db.addDolznost(QStringList{u"Бухгалтер"_s, u"Директор"_s, u"Кассир"_s}[i]);
        navigator->setDataSource(&source);
        table.open();
    }
    void click(Button which) const { navigator->button(which)->click(); }
    QString file() { return db.scalar(u"SELECT group_concat(Nazvanie, ',') FROM Dolznost"_s).text(); }
    QString name() { return table.fieldByName(u"Nazvanie"_s).value().text(); }
    QString enabledButtons() const {
        QStringList names;
        for (const auto* button : navigator->findChildren<kb::databound::NavButton*>())
            names << (button->isEnabled() ? button->objectName() : QString());
        return names.join(u' ').simplified();
    }
};

using Step = std::function<void(Bench&)>;
const QString kStored = u"Бухгалтер,Директор,Кассир"_s;

} // namespace

Q_DECLARE_METATYPE(Step)

class TestDbNavigator : public QObject {
    Q_OBJECT
private slots:
    void enabling_data() {
        columns<int, Step, QString>("rows", "step", "enabled");
        row("opened on the first row", 3, Step([](Bench&) {}), u"next last insert delete edit refresh"_s);
        row("empty table", 0, Step([](Bench&) {}), u"insert edit refresh"_s);
        row("at the end", 3, Step([](Bench& b) { b.table.last(); }), u"first prior insert delete edit refresh"_s);
        row("editing", 3, Step([](Bench& b) { b.table.edit(); }), u"next last insert delete post cancel refresh"_s);
        row("table closed", 3, Step([](Bench& b) { b.table.close(); }), QString());
    }
    void enabling() {
        const auto [rows, step, enabled] = fetch<int, Step, QString>("rows", "step", "enabled");
        Bench bench(rows);
        step(bench);
        QCOMPARE(bench.enabledButtons(), enabled);
    }

    // Each button acts in its place: the name on the current row, the state and the file after the click. Delete asks
    // first; a post the database refuses reaches the default error handler and keeps the edit and the typed value.
    void actions_data() {
        columns<Step, int, QString, State, QString>("before", "button", "current", "state", "file");
        const Step none = [](Bench&) {};
        const Step atEnd = [](Bench& b) { b.table.last(); };
        const Step typing = [](Bench& b) {
            b.table.next();
            b.table.edit();
            b.table.fieldByName(u"Nazvanie"_s).setText(u"Завхоз"_s);
        };
        const auto deleting = [](bool ok) {
            return Step([ok](Bench& b) {
                b.table.next();
                b.dialogs->answerConfirm(ok);
            });
        };
        row("first", atEnd, int(Button::First), u"Бухгалтер"_s, State::Browse, kStored);
        row("prior", atEnd, int(Button::Prior), u"Директор"_s, State::Browse, kStored);
        row("next", none, int(Button::Next), u"Директор"_s, State::Browse, kStored);
        row("last", none, int(Button::Last), u"Кассир"_s, State::Browse, kStored);
        row("insert", none, int(Button::Insert), QString(), State::Insert, kStored);
        row("edit", none, int(Button::Edit), u"Бухгалтер"_s, State::Edit, kStored);
        row("post", typing, int(Button::Post), u"Завхоз"_s, State::Browse, u"Бухгалтер,Завхоз,Кассир"_s);
        row("cancel", typing, int(Button::Cancel), u"Директор"_s, State::Browse, kStored);
        row("refresh", Step([](Bench& b) { b.db.addDolznost(u"Сторож"_s); }), int(Button::Refresh), u"Бухгалтер"_s,
            State::Browse, kStored + u",Сторож"_s);
        row("delete, OK", deleting(true), int(Button::Delete), u"Кассир"_s, State::Browse, u"Бухгалтер,Кассир"_s);
        row("delete, Cancel", deleting(false), int(Button::Delete), u"Директор"_s, State::Browse, kStored);
        row("post refused", Step([typing](Bench& b) {
                b.db.exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON Dolznost BEGIN SELECT RAISE(ABORT, 'нет'); END"_s);
                typing(b);
                b.dialogs->expectErrorBox();
            }),
            int(Button::Post), u"Завхоз"_s, State::Edit, kStored);
    }
    void actions() {
        const auto [before, button, current, state, file] =
            fetch<Step, int, QString, State, QString>("before", "button", "current", "state", "file");
        Bench bench;
        before(bench);
        bench.click(Button(button));
        QCOMPARE(bench.name(), current);
        QCOMPARE(bench.table.state(), state);
        QCOMPARE(bench.file(), file);
        if (!bench.dialogs->calls().empty()) // what was asked or shown
            QVERIFY(
                bench.dialogs->calls()[0].text.contains(button == int(Button::Post) ? u"нет"_s : u"Delete record?"_s));
    }
};

QTEST_MAIN(TestDbNavigator)
#include "tst_dbnavigator.moc"
