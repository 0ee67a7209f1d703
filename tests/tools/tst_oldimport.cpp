// The import of the old program's database, fed from memory (the reader is tested on real Jet files in tst_jetfile):
// the mapping of the five tables, the conversion of values, the notes, the transaction, the verification, the errors.

#include "DateTimeText.h"
#include "DbTool.h"
#include "OldDatabaseImport.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <limits>
#include <sstream>

using kb::jet::Cell;
using kb::jet::Column;
using kb::jet::ColumnType;
using kb::jet::Row;
using namespace kbtest;

namespace {
struct MemoryTable {
    QString name;
    std::vector<Column> columns;
    std::vector<Row> rows;
};

// An old database held in memory. tamper sees every row as it is read (pass 1 the copy, pass 2 the verification),
// may change it, and returns false to leave it out.
struct MemoryDatabase : kb::jet::OldDatabase {
    std::vector<MemoryTable> data;
    std::function<bool(const QString& table, int pass, Row& row)> tamper;
    mutable std::map<QString, int> passes;

    MemoryTable& table(const QString& name) { return *std::ranges::find(data, name, &MemoryTable::name); }
    const MemoryTable& table(const QString& name) const { return *std::ranges::find(data, name, &MemoryTable::name); }
    QStringList tables() const override {
        QStringList names;
        for (const MemoryTable& t : data)
            names << t.name;
        return names;
    }
    std::vector<Column> columns(const QString& name) const override { return table(name).columns; }
    void readRows(const QString& name, const QStringList& columnNames,
                  const std::function<void(const Row&)>& each) const override {
        const MemoryTable& t = table(name);
        const int pass = ++passes[name];
        for (const Row& row : t.rows) {
            Row picked;
            for (const QString& c : columnNames)
                picked.push_back(row.at(size_t(std::ranges::find(t.columns, c, &Column::name) - t.columns.begin())));
            if (!tamper || tamper(name, pass, picked))
                each(picked);
        }
    }
};

Column col(const char* name, ColumnType type = ColumnType::LongInt) {
    const bool id = QByteArray(name) == "ID";
    return {QString::fromUtf8(name), type, id, type == ColumnType::Text ? 510 : id ? 4 : 0};
}
Cell day(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return Cell::ofDayNumber(kb::sql::datetime::toDayNumber(kb::sql::datetime::make(y, mo, d, h, mi, s)));
}

// The five tables, a column and a table the program does not have, and rows that try the conversions: IDs with gaps,
// dates before 1900 and after 2038, a 16-bit integer, a double that needs all its bits, a decimal comma, nulls; and
// values the new file cannot hold: a text over 255 characters, a date out of range, a fraction of a second, -0, inf.
MemoryDatabase oldDatabase() {
    const auto T = ColumnType::Text, D = ColumnType::DateTime;
    const auto n = [](qint64 v) { return Cell::ofInteger(v); };
    const auto text = [](const char* t) { return Cell::ofText(QString::fromUtf8(t)); };
    MemoryDatabase db;
    db.data = {{"Sotr",
                {col("ID"), col("FIO", T), col("DataR", D), col("IDDolznost"), col("Adres", T), col("Telefon", T),
                 col("Passport", T), col("INN", T), col("Foto", ColumnType::Ole)},
                {{n(5), text("Ёлкина Ольга Николаевна"), day(1850, 2, 28, 18, 45), n(7), text("ул. Ленина, 1"),
                  text("(495)123-4567"), text("4510 123456"), text("771234567890"), Cell::null()},
                 {n(9), text("Пётр"), Cell::ofDayNumber(-700000), Cell::null(), text(""),
                  Cell::ofText(QString(256, u'Ж')), Cell::ofText(QString(255, u'Ж')), Cell::null(), Cell::null()}}},
               {"Dolznost",
                {col("ID"), col("Nazvanie", ColumnType::Memo)},
                {{n(3), text("Бухгалтер")}, {n(7), text("Хормейстер")}}},
               {"Stavka",
                {col("ID"), col("IDSotr"), col("Sum", ColumnType::Double)},
                {{n(1), n(5), Cell::ofDouble(0.1 + 0.2)},
                 {n(3), n(9), Cell::ofDouble(-0.0)},
                 {n(4), n(9), Cell::ofDouble(std::numeric_limits<double>::infinity())}}},
               {"Premia",
                {col("ID"), col("IDSotr"), col("Data", D), col("Premia", T)},
                {{n(4), n(5), day(2050, 7, 1, 8, 15, 30), text("12,5")}}},
               {"OtrChas",
                {col("ID"), col("IDSotr"), col("Count", ColumnType::Int), col("Data", D)},
                {{n(6), n(5), n(21), Cell::ofDayNumber(day(2013, 4, 15, 10).number + 0.6 / 86400)}}},
               {"Отпуска", {col("ID")}, {}}};
    return db;
}

struct Imported {
    QString out, error, rows; // error null when it succeeded; rows: the new database's, as kultbuh-db query prints them
    bool fileLeft;
};
// Into a new file, or into an empty database on the server that `kultbuh-db create` has given the schema.
Imported runImport(const MemoryDatabase& db, Engine engine) {
    QTemporaryDir dir;
    QString file = dir.filePath("BAZA.mdb");
    std::unique_ptr<TempDatabase> server;
    std::ostringstream out;
    if (engine == Engine::Server) {
        server = std::make_unique<TempDatabase>(TempDatabase::Content::Empty, QString(), Engine::Server);
        server->closeConnection();
        file = server->path();
        kb::tools::run({"create", file}, out, out); // prints nothing unless it fails
    }
    const QString error = errorMessage([&] { kb::tools::importOldDatabase(db, file, out); });
    QString rows;
    for (const char* table : {"Sotr", "Dolznost", "Stavka", "Premia", "OtrChas"}) {
        std::ostringstream tableRows, err;
        kb::tools::run({"query", file, QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table)}, tableRows, err);
        rows += QString::fromStdString(tableRows.str()).section(u'\n', 1);
    }
    return {QString::fromStdString(out.str()), error, rows, QFile::exists(file)};
}
} // namespace

class TestOldImport : public QObject {
    Q_OBJECT
private slots:
    // Every field of the five tables, with its ID, exactly; one line per table, a note for what is not imported and
    // for each value refused (left empty) or changed.
    void copiesEverything_data() {
        QTest::addColumn<Engine>("engine");
        bothRow("the old database");
    }
    void copiesEverything() {
        const auto [engine] = fetch<Engine>("engine");
        const Imported imported = runImport(oldDatabase(), engine);
        QCOMPARE(imported.error, QString());
        QCOMPARE(
            imported.out,
            QStringLiteral("Sotr: прочитано строк: 2, записано: 2\n"
                           "Dolznost: прочитано строк: 2, записано: 2\n"
                           "Stavka: прочитано строк: 3, записано: 3\n"
                           "Premia: прочитано строк: 1, записано: 1\n"
                           "OtrChas: прочитано строк: 1, записано: 1\n"
                           "Поле Sotr.Foto не перенесено: в программе нет такого поля\n"
                           "Таблица Отпуска не перенесена: в программе нет такой таблицы\n"
                           "Sotr, ID 9, поле DataR: дата вне промежутка от 01.01.0100 до 31.12.9999 (-700000 дней от "
                           "30.12.1899): значение не перенесено\n"
                           "Sotr, ID 9, поле Telefon: текст длиннее 255 символов (256): значение не перенесено\n"
                           "Stavka, ID 3, поле Sum: число -0 записано как 0\n"
                           "Stavka, ID 4, поле Sum: не число (inf): значение не перенесено\n"
                           "OtrChas, ID 6, поле Data: время 2013-04-15 10:00:00,600 округлено до секунды: 2013-04-15 "
                           "10:00:01\n"));
        QCOMPARE(imported.rows.split(u'\n'),
                 QStringList({"5\tЁлкина Ольга Николаевна\t1850-02-28 18:45:00\t7\tул. Ленина, 1\t(495)123-4567\t4510 "
                              "123456\t771234567890",
                              "9\tПётр\tNULL\tNULL\t\tNULL\t" + QString(255, u'Ж') + "\tNULL", "3\tБухгалтер",
                              "7\tХормейстер", "1\t5\t0.30000000000000004", "3\t9\t0", "4\t9\tNULL",
                              "4\t5\t2050-07-01 08:15:30\t12,5", "6\t5\t21\t2013-04-15 10:00:01", ""}));
    }

    void failures_data() {
        using Change = std::function<void(MemoryDatabase&)>;
        columns<Change, QString>("change", "message");
        const auto tamper = [](const char* table, int pass, std::function<bool(Row&)> f) -> Change {
            return [=](MemoryDatabase& db) {
                db.tamper = [=](const QString& t, int p, Row& r) { return t != table || p != pass || f(r); };
            };
        };
        row("missing table", Change([](MemoryDatabase& db) { db.data.erase(db.data.begin() + 4); }),
            "В базе данных старой программы нет таблицы OtrChas");
        row("missing field", Change([](MemoryDatabase& db) { db.table("Sotr").columns[7].name = "ИНН"; }),
            "В базе данных старой программы нет поля Sotr.INN");
        row("unfitting type",
            Change([](MemoryDatabase& db) { db.table("Sotr").columns[1].type = ColumnType::LongInt; }),
            "Поле Sotr.FIO базы данных старой программы имеет тип \"длинное целое\"");
        row("row without ID", Change([](MemoryDatabase& db) { db.table("Dolznost").rows[1][0] = Cell::null(); }),
            "В таблице Dolznost базы данных старой программы есть строка без номера ID");
        row("ID twice", Change([](MemoryDatabase& db) { db.table("Dolznost").rows[1][0] = Cell::ofInteger(3); }),
            "UNIQUE constraint failed: Dolznost.ID");
        const auto set = [tamper](const char* table, size_t column, Cell cell) {
            return tamper(table, 2, [=](Row& r) { return r[column] = cell, true; });
        };
        row("a value differs", set("Stavka", 2, Cell::ofDouble(0.3)),
            "Проверка новой базы данных не пройдена: Stavka, ID 1, поле Sum: в старой базе "
            "0.29999999999999999, в новой 0.30000000000000004");
        row("a row missing", set("Dolznost", 0, Cell::ofInteger(8)), "в таблице Dolznost нет строки с ID 8");
        row("a row more", tamper("Sotr", 2, [](Row& r) { return r[0].integer != 9; }),
            "в таблице Sotr строк 2, а в старой базе 1");
    }
    // Each failure leaves no new file and prints no table line.
    void failures() {
        const auto [change, message] = fetch<std::function<void(MemoryDatabase&)>, QString>("change", "message");
        MemoryDatabase db = oldDatabase();
        change(db);
        const Imported imported = runImport(db, Engine::File);
        QVERIFY2(imported.error.contains(message), qPrintable(imported.error));
        QCOMPARE(imported.out, QString());
        QVERIFY(!imported.fileLeft);
    }
};

Q_DECLARE_METATYPE(std::function<void(MemoryDatabase&)>)

QTEST_GUILESS_MAIN(TestOldImport)
#include "tst_oldimport.moc"
