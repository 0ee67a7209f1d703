// Fields of the table object: typed text and values, refusals, the texts shown with and without the edit mask.
#include "DateTimeText.h"
#include "Schema.h"
#include "Table.h"
#include "TestRows.h"
#include "TestSupport.h"

using namespace Qt::StringLiterals;
using kb::sql::Value;
using kb::sql::datetime::make;
using namespace kbtest;

namespace {

Value t(const char* utf8) {
    return Value(QString::fromUtf8(utf8));
}

// One row in every table, and an open table object over the table of "Table.Field".
struct OneRowEach {
    TempDatabase db;
    kb::dataset::Table table;
    kb::dataset::Field* field = nullptr;

    explicit OneRowEach(const QString& tableAndField)
        : table(db.connection(), kb::dataset::schema::table(tableAndField.section(u'.', 0, 0))) {
        const qint64 sotr = db.addSotr(u"Иванов"_s, Value(1), Value(make(1985, 5, 12)));
        db.addStavka(sotr, 1481.4);
        db.addPremia(sotr, make(2013, 4, 15), u"25"_s);
        db.addOtrChas(sotr, 22, make(2013, 4, 1));
        table.open();
        field = &table.fieldByName(tableAndField.section(u'.', 1));
    }
};

} // namespace

class TestField : public QObject {
    Q_OBJECT
private slots:
    // setText for a text, else setValue: the value read back after posting, or the refusal, which changes nothing.
    void setValue_data() {
        columns<QString, Value, QString>("field", "given", "result");
        row("sum with decimal comma", "Stavka.Sum", t("1500,5"), "Float 1500.5");
        row("sum not a number", "Stavka.Sum", t("12р"), "'12р' is not a valid floating point value for field 'Sum'");
        row("sum empty is null", "Stavka.Sum", t(""), "NULL");
        row("count blanks only is null", "OtrChas.Count", t("   "), "NULL");
        row("count with fraction", "OtrChas.Count", t("2.5"), "'2.5' is not a valid integer value for field 'Count'");
        row("count beyond 32 bits", "OtrChas.Count", t("3000000000"),
            "'3000000000' is not a valid integer value for field 'Count'");
        row("birth date through the mask", "Sotr.DataR", t("12.05.85"), "DateTime 1985-05-12 00:00:00");
        row("empty date mask is null", "Sotr.DataR", t("__.__.__"), "NULL");
        row("no such day", "Sotr.DataR", t("31.02.85"), "'31.02.85' не является правильной датой для поля 'DataR'");
        row("date as stored", "OtrChas.Data", t("2013-04-15"), "DateTime 2013-04-15 00:00:00");
        row("text of 256 characters", "Sotr.Adres", Value(QString(256, u'a')),
            "Значение поля 'Adres' слишком длинное: 256 символов при допустимых 255");
        row("bonus percentage stays text", "Premia.Premia", t("12,5"), "Text '12,5'");
        row("whole float into integer", "OtrChas.Count", Value(20.0), "Integer 20");
        row("fraction into integer", "OtrChas.Count", Value(20.5),
            "'20,5' is not a valid integer value for field 'Count'");
        row("date into float", "Stavka.Sum", Value(make(2013, 1, 1)),
            "'01.01.2013' is not a valid floating point value for field 'Sum'");
        row("day number into date", "OtrChas.Data", Value(41365.0), "DateTime 2013-04-01 00:00:00");
    }
    void setValue() {
        const auto [field, given, result] = fetch<QString, Value, QString>("field", "given", "result");
        OneRowEach db(field);
        db.table.edit();
        const Value before = db.field->value();
        const QString error = errorMessage([&] {
            if (given.kind() == Value::Kind::Text)
                db.field->setText(given.text());
            else
                db.field->setValue(given);
        });
        db.table.post();
        QCOMPARE(error.isNull() ? describe(db.field->value()) : error, result);
        if (!error.isNull())
            QCOMPARE(db.field->value(), before);
    }

    void refusals() {
        OneRowEach db(u"Sotr.FIO"_s);
        QCOMPARE(errorMessage([&] { db.field->setText(u"Сидоров"_s); }),
                 u"Таблица 'Sotr' не в режиме редактирования или вставки: поле 'FIO' изменить нельзя"_s);
        db.table.edit();
        kb::dataset::Field& id = db.table.fieldByName(u"ID"_s);
        QVERIFY(id.isReadOnly());
        const QString readOnly = u"Поле 'ID' доступно только для чтения"_s;
        QCOMPARE(errorMessage([&] { id.setText(u"99"_s); }), readOnly);
        QCOMPARE(errorMessage([&] { db.table.setPendingValue(0, Value(99)); }), readOnly);
        QCOMPARE(id.value(), Value(1));
    }

    // The text shown in a grid or a label, and the text while editing, through the edit mask where there is one.
    void texts_data() {
        columns<QString, Value, QString, QString>("field", "value", "display", "edit");
        row("birth date at midnight", "Sotr.DataR", Value(make(1985, 5, 12)), "12.05.1985", "12.05.85");
        row("no birth date", "Sotr.DataR", Value(), "", "__.__.__");
        row("bonus month", "Premia.Data", Value(make(2013, 4, 15)), "04.2013", "15.04.13");
        row("days-worked month", "OtrChas.Data", Value(make(2014, 12, 31, 23, 0)), "12.2014", "31.12.2014 23:00:00");
    }
    void texts() {
        const auto [field, value, display, edit] =
            fetch<QString, Value, QString, QString>("field", "value", "display", "edit");
        OneRowEach db(field);
        db.table.edit();
        db.field->setValue(value);
        QCOMPARE(db.field->editText(), edit);
        db.table.post();
        QCOMPARE(db.field->displayText(), display);
        QCOMPARE(db.field->editText(), edit);
    }
};

QTEST_GUILESS_MAIN(TestField)
#include "tst_field.moc"
