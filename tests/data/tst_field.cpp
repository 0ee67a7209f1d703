// Fields of the table object: conversion of typed text, read-only and state
// checks, and the texts shown with and without the edit mask.
#include "DateTimeText.h"
#include "DbError.h"
#include "Schema.h"
#include "Table.h"
#include "TestSupport.h"

#include <QTest>
#include <memory>

using kb::Table;
using kb::Value;
using kb::datetime::make;
using kbtest::TempDatabase;

namespace {

// Columns of the tables that show a field's value as text: table, field, value, expected text.
void addTextColumns() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("text");
}

void textRow(const char* name, const char* table, const char* field, const Value& value, const char* text) {
    QTest::newRow(name) << QString::fromUtf8(table) << QString::fromUtf8(field) << value << QString::fromUtf8(text);
}

// One row in every table, and a table object over the one a test names.
struct OneRowEach {
    TempDatabase db;
    std::unique_ptr<Table> table;

    explicit OneRowEach(const QString& tableName) {
        const qint64 dolznost = db.addDolznost(QStringLiteral("Бухгалтер"));
        const qint64 sotr =
            db.addSotr(QStringLiteral("Иванов Иван Иванович"), Value(dolznost), Value(make(1985, 5, 12)),
                       QStringLiteral("ул. Ленина, 1"), QStringLiteral("(495)123-4567"), QStringLiteral("4510 123456"),
                       QStringLiteral("771234567890"));
        db.addStavka(sotr, 1481.4);
        db.addPremia(sotr, make(2013, 4, 15), QStringLiteral("25"));
        db.addOtrChas(sotr, 22, make(2013, 4, 1));
        table = std::make_unique<Table>(db.connection(), kb::schema::table(tableName));
        table->open();
    }
    kb::Field& field(const QString& name) { return table->fieldByName(name); }
};

} // namespace

class TestField : public QObject {
    Q_OBJECT
private slots:
    void setText_data();
    void setText();
    void setValueConverts_data();
    void setValueConverts();
    void readOnlyId();
    void notEditing();
    void displayText_data();
    void displayText();
    void editText_data();
    void editText();
    void valuesReadBackTyped();
};

void TestField::setText_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("error");
    const auto row = [](const char* name, const char* table, const char* field, const QString& text, const Value& value,
                        const char* error = "") {
        QTest::newRow(name) << QString::fromUtf8(table) << QString::fromUtf8(field) << text << value
                            << QString::fromUtf8(error);
    };
    row("sum", "Stavka", "Sum", "1500", Value(1500.0));
    row("sum with decimal comma", "Stavka", "Sum", "1500,5", Value(1500.5));
    row("sum with point and blanks", "Stavka", "Sum", " 12.25 ", Value(12.25));
    row("sum empty is null", "Stavka", "Sum", "", Value());
    row("sum not a number", "Stavka", "Sum", "12р", Value(),
        "'12р' is not a valid floating point value for field 'Sum'");
    row("sum two commas", "Stavka", "Sum", "1,2,3", Value(),
        "'1,2,3' is not a valid floating point value for field 'Sum'");
    row("count", "OtrChas", "Count", "21", Value(21));
    row("count with blanks", "OtrChas", "Count", " 20 ", Value(20));
    row("count blanks only is null", "OtrChas", "Count", "   ", Value());
    row("count with fraction", "OtrChas", "Count", "2.5", Value(),
        "'2.5' is not a valid integer value for field 'Count'");
    row("count word", "OtrChas", "Count", "двадцать", Value(),
        "'двадцать' is not a valid integer value for field 'Count'");
    row("count beyond 32 bits", "OtrChas", "Count", "3000000000", Value(),
        "'3000000000' is not a valid integer value for field 'Count'");
    row("position key", "Sotr", "IDDolznost", "7", Value(7));
    row("birth date through the mask", "Sotr", "DataR", "12.05.85", Value(make(1985, 5, 12)));
    row("birth date, four-digit year", "Sotr", "DataR", "01.02.1950", Value(make(1950, 2, 1)));
    row("date with time", "OtrChas", "Data", "15.04.2013 10:30", Value(make(2013, 4, 15, 10, 30)));
    row("bonus month", "Premia", "Data", "01.04.13", Value(make(2013, 4, 1)));
    row("empty date mask is null", "Sotr", "DataR", "  .  .  ", Value());
    row("empty date is null", "OtrChas", "Data", "", Value());
    row("no such day", "Sotr", "DataR", "31.02.85", Value(),
        "'31.02.85' не является правильной датой для поля 'DataR'");
    row("not a date", "OtrChas", "Data", "апрель", Value(), "'апрель' не является правильной датой для поля 'Data'");
    row("name", "Sotr", "FIO", "Петров Пётр", Value(QStringLiteral("Петров Пётр")));
    row("name empty is null", "Sotr", "FIO", "", Value());
    row("name of 255 characters", "Sotr", "FIO", QString(255, QChar(u'Ж')), Value(QString(255, QChar(u'Ж'))));
    row("bonus percentage stays text", "Premia", "Premia", "12,5", Value(QStringLiteral("12,5")));
    row("telephone in stored form", "Sotr", "Telefon", "(812)555-0101", Value(QStringLiteral("(812)555-0101")));
}

void TestField::setText() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(Value, value);
    QFETCH(QString, error);
    OneRowEach db(table);
    db.table->edit();
    kb::Field& f = db.field(field);
    const Value before = f.value();
    const QString message = kbtest::errorMessage([&] { f.setText(text); });
    QCOMPARE(message, error);
    if (error.isEmpty()) {
        QCOMPARE(f.value(), value);
        db.table->post();
        QCOMPARE(f.value(), value); // as read back from the file
    } else {
        QCOMPARE(f.value(), before); // the refused text changed nothing
    }
}

void TestField::setValueConverts_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<Value>("given");
    QTest::addColumn<Value>("stored");
    QTest::addColumn<bool>("refused");
    const auto row = [](const char* name, const char* table, const char* field, const Value& given, const Value& stored,
                        bool refused) {
        QTest::newRow(name) << QString::fromUtf8(table) << QString::fromUtf8(field) << given << stored << refused;
    };
    row("whole float into integer", "OtrChas", "Count", Value(20.0), Value(20), false);
    row("fraction into integer", "OtrChas", "Count", Value(20.5), Value(), true);
    row("text into integer", "OtrChas", "Count", Value(QStringLiteral("19")), Value(19), false);
    row("integer into float", "Stavka", "Sum", Value(1500), Value(1500.0), false);
    row("date into float", "Stavka", "Sum", Value(make(2013, 1, 1)), Value(), true);
    row("day number into date", "OtrChas", "Data", Value(41365.0), Value(make(2013, 4, 1)), false);
    row("number into text", "Premia", "Premia", Value(30), Value(QStringLiteral("30")), false);
    row("text of 256 characters", "Sotr", "Adres", Value(QString(256, QLatin1Char('a'))), Value(), true);
    row("null", "Sotr", "DataR", Value(), Value(), false);
}

void TestField::setValueConverts() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(Value, given);
    QFETCH(Value, stored);
    QFETCH(bool, refused);
    OneRowEach db(table);
    db.table->edit();
    kb::Field& f = db.field(field);
    if (refused) {
        const Value before = f.value();
        QVERIFY_THROWS_EXCEPTION(kb::DbError, f.setValue(given));
        QCOMPARE(f.value(), before);
    } else {
        f.setValue(given);
        QCOMPARE(f.value(), stored);
    }
}

void TestField::readOnlyId() {
    OneRowEach db(QStringLiteral("Sotr"));
    db.table->edit();
    kb::Field& id = db.field(QStringLiteral("ID"));
    QVERIFY(id.isReadOnly());
    const Value before = id.value();
    QCOMPARE(kbtest::errorMessage([&] { id.setText(QStringLiteral("99")); }),
             QStringLiteral("Поле 'ID' доступно только для чтения"));
    QCOMPARE(kbtest::errorMessage([&] { db.table->setPendingValue(0, Value(99)); }),
             QStringLiteral("Поле 'ID' доступно только для чтения"));
    QCOMPARE(id.value(), before);
}

void TestField::notEditing() {
    OneRowEach db(QStringLiteral("Sotr"));
    kb::Field& fio = db.field(QStringLiteral("FIO"));
    QCOMPARE(kbtest::errorMessage([&] { fio.setText(QStringLiteral("Сидоров")); }),
             QStringLiteral("Таблица 'Sotr' не в режиме редактирования или вставки: поле 'FIO' изменить нельзя"));
    QCOMPARE(fio.value(), Value(QStringLiteral("Иванов Иван Иванович")));
    QCOMPARE(db.table->state(), Table::State::Browse);
}

void TestField::displayText_data() {
    addTextColumns();
    textRow("birth date at midnight", "Sotr", "DataR", Value(make(1985, 5, 12)), "12.05.1985");
    textRow("birth date with a time", "Sotr", "DataR", Value(make(1985, 5, 12, 7, 5)), "12.05.1985 07:05:00");
    textRow("bonus month", "Premia", "Data", Value(make(2013, 4, 15)), "04.2013");
    textRow("days-worked month", "OtrChas", "Data", Value(make(2014, 12, 31, 23, 0)), "12.2014");
    textRow("salary", "Stavka", "Sum", Value(1481.4), "1481,4");
    textRow("days", "OtrChas", "Count", Value(22), "22");
    textRow("null", "Premia", "Data", Value(), "");
    textRow("text", "Sotr", "Telefon", Value(QStringLiteral("(495)123-4567")), "(495)123-4567");
}

void TestField::displayText() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(Value, value);
    QFETCH(QString, text);
    OneRowEach db(table);
    db.table->edit();
    db.field(field).setValue(value);
    db.table->post();
    QCOMPARE(db.field(field).displayText(), text);
}

void TestField::editText_data() {
    addTextColumns();
    textRow("birth date through the date mask", "Sotr", "DataR", Value(make(1985, 5, 12)), "12.05.85");
    textRow("bonus month through the date mask", "Premia", "Data", Value(make(2013, 4, 15)), "15.04.13");
    textRow("empty date mask", "Sotr", "DataR", Value(), "__.__.__");
    textRow("telephone", "Sotr", "Telefon", Value(QStringLiteral("(495)123-4567")), "(495)123-4567");
    textRow("passport", "Sotr", "Passport", Value(QStringLiteral("4510 123456")), "4510 123456");
    textRow("empty taxpayer number", "Sotr", "INN", Value(), "____________");
    textRow("date without a mask", "OtrChas", "Data", Value(make(2013, 4, 15)), "15.04.2013");
    textRow("salary", "Stavka", "Sum", Value(1481.4), "1481,4");
    textRow("name", "Sotr", "FIO", Value(QStringLiteral("Иванов")), "Иванов");
}

void TestField::editText() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(Value, value);
    QFETCH(QString, text);
    OneRowEach db(table);
    db.table->edit();
    db.field(field).setValue(value);
    QCOMPARE(db.field(field).editText(), text);
}

void TestField::valuesReadBackTyped() {
    OneRowEach db(QStringLiteral("Sotr"));
    QCOMPARE(db.field(QStringLiteral("ID")).value().kind(), Value::Kind::Integer);
    QCOMPARE(db.field(QStringLiteral("DataR")).value(), Value(make(1985, 5, 12)));
    QCOMPARE(db.field(QStringLiteral("IDDolznost")).value(), Value(1));
    QCOMPARE(db.field(QStringLiteral("INN")).value(), Value(QStringLiteral("771234567890")));
    OneRowEach stavka(QStringLiteral("Stavka"));
    QCOMPARE(stavka.field(QStringLiteral("Sum")).value(), Value(1481.4));
    // A whole salary comes back as a floating-point value, as the field is typed.
    stavka.table->edit();
    stavka.field(QStringLiteral("Sum")).setText(QStringLiteral("1500"));
    stavka.table->post();
    stavka.table->refresh();
    QCOMPARE(stavka.field(QStringLiteral("Sum")).value().kind(), Value::Kind::Float);
}

QTEST_GUILESS_MAIN(TestField)
#include "tst_field.moc"
