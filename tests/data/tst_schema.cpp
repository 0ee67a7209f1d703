// The five tables: their field definitions and what the created file holds.
#include "Schema.h"
#include "TestSupport.h"

#include <QTest>
#include <stdexcept>

using kb::FieldType;
using kb::Value;
using kbtest::TempDatabase;

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void fieldsOfEachTable_data();
    void fieldsOfEachTable();
    void presentation_data();
    void presentation();
    void lookups();
    void declaredColumns_data();
    void declaredColumns();
    void indexes_data();
    void indexes();
    void noForeignKeys();
    void autoNumbersAreNotReused();
    void textComparesInRussianOrderIgnoringCase();
};

void TestSchema::fieldsOfEachTable_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("Sotr") << "Sotr"
                          << QStringList{"ID", "FIO", "DataR", "IDDolznost", "Adres", "Telefon", "Passport", "INN"};
    QTest::newRow("Dolznost") << "Dolznost" << QStringList{"ID", "Nazvanie"};
    QTest::newRow("Stavka") << "Stavka" << QStringList{"ID", "IDSotr", "Sum"};
    QTest::newRow("Premia") << "Premia" << QStringList{"ID", "IDSotr", "Data", "Premia"};
    QTest::newRow("OtrChas") << "OtrChas" << QStringList{"ID", "IDSotr", "Count", "Data"};
}

void TestSchema::fieldsOfEachTable() {
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    const kb::schema::TableDef& t = kb::schema::table(table);
    QStringList names;
    for (const auto& f : t.fields) {
        names.append(f.name);
        QCOMPARE(f.readOnly, f.name == QLatin1String("ID"));
        QCOMPARE(f.maxLength, f.type == FieldType::Text ? 255 : 0);
    }
    QCOMPARE(names, fields);
}

void TestSchema::presentation_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("format");
    QTest::newRow("Sotr.ID") << "Sotr"
                             << "ID" << FieldType::Integer << ""
                             << "";
    QTest::newRow("Sotr.DataR") << "Sotr"
                                << "DataR" << FieldType::DateTime << "!99/99/00;1;_"
                                << "";
    QTest::newRow("Sotr.IDDolznost") << "Sotr"
                                     << "IDDolznost" << FieldType::Integer << ""
                                     << "";
    QTest::newRow("Sotr.Telefon") << "Sotr"
                                  << "Telefon" << FieldType::Text << "!\\(999\\)000-0000;1;_"
                                  << "";
    QTest::newRow("Sotr.Passport") << "Sotr"
                                   << "Passport" << FieldType::Text << "0000 000000;1;_"
                                   << "";
    QTest::newRow("Sotr.INN") << "Sotr"
                              << "INN" << FieldType::Text << "000000000000"
                              << "";
    QTest::newRow("Sotr.Adres") << "Sotr"
                                << "Adres" << FieldType::Text << ""
                                << "";
    QTest::newRow("Stavka.Sum") << "Stavka"
                                << "Sum" << FieldType::Float << ""
                                << "";
    QTest::newRow("Premia.Data") << "Premia"
                                 << "Data" << FieldType::DateTime << "!99/99/00;1;_"
                                 << "mm.yyyy";
    QTest::newRow("Premia.Premia is text") << "Premia"
                                           << "Premia" << FieldType::Text << ""
                                           << "";
    QTest::newRow("OtrChas.Count") << "OtrChas"
                                   << "Count" << FieldType::Integer << ""
                                   << "";
    QTest::newRow("OtrChas.Data") << "OtrChas"
                                  << "Data" << FieldType::DateTime << ""
                                  << "mm.yyyy";
}

void TestSchema::presentation() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(FieldType, type);
    QFETCH(QString, mask);
    QFETCH(QString, format);
    const kb::schema::FieldDef* f = kb::schema::table(table).field(field);
    QVERIFY(f);
    QCOMPARE(f->type, type);
    QCOMPARE(f->editMask, mask);
    QCOMPARE(f->displayFormat, format);
}

void TestSchema::lookups() {
    QCOMPARE(kb::schema::tables().size(), size_t(5));
    QCOMPARE(kb::schema::table(QStringLiteral("sotr")).name, QStringLiteral("Sotr"));
    QVERIFY(kb::schema::table(QStringLiteral("Sotr")).field(QStringLiteral("fio")));
    QVERIFY(!kb::schema::table(QStringLiteral("Sotr")).field(QStringLiteral("Nazvanie")));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, kb::schema::table(QStringLiteral("Nothing")));
}

void TestSchema::declaredColumns_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("declared");
    QTest::addColumn<bool>("key");
    QTest::newRow("Sotr.ID") << "Sotr"
                             << "ID"
                             << "INTEGER" << true;
    QTest::newRow("Sotr.FIO") << "Sotr"
                              << "FIO"
                              << "TEXT" << false;
    QTest::newRow("Sotr.DataR") << "Sotr"
                                << "DataR"
                                << "DATETIME" << false;
    QTest::newRow("Sotr.IDDolznost") << "Sotr"
                                     << "IDDolznost"
                                     << "INTEGER" << false;
    QTest::newRow("Stavka.Sum") << "Stavka"
                                << "Sum"
                                << "REAL" << false;
    QTest::newRow("Premia.Premia") << "Premia"
                                   << "Premia"
                                   << "TEXT" << false;
    QTest::newRow("OtrChas.Count") << "OtrChas"
                                   << "Count"
                                   << "INTEGER" << false;
    QTest::newRow("OtrChas.Data") << "OtrChas"
                                  << "Data"
                                  << "DATETIME" << false;
    QTest::newRow("Dolznost.ID") << "Dolznost"
                                 << "ID"
                                 << "INTEGER" << true;
}

void TestSchema::declaredColumns() {
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, declared);
    QFETCH(bool, key);
    TempDatabase db;
    QCOMPARE(db.scalar(QStringLiteral("SELECT type FROM pragma_table_info(?1) WHERE name = ?2"),
                       {Value(table), Value(column)}),
             Value(declared));
    QCOMPARE(db.scalar(QStringLiteral("SELECT pk FROM pragma_table_info(?1) WHERE name = ?2"),
                       {Value(table), Value(column)}),
             Value(key ? 1 : 0));
}

void TestSchema::indexes_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::newRow("Sotr.IDDolznost") << "Sotr"
                                     << "IDDolznost";
    QTest::newRow("Stavka.IDSotr") << "Stavka"
                                   << "IDSotr";
    QTest::newRow("Premia.IDSotr") << "Premia"
                                   << "IDSotr";
    QTest::newRow("OtrChas.IDSotr") << "OtrChas"
                                    << "IDSotr";
}

void TestSchema::indexes() {
    QFETCH(QString, table);
    QFETCH(QString, column);
    TempDatabase db;
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM pragma_index_list(?1) AS l "
                                      "JOIN pragma_index_info(l.name) AS i WHERE i.name = ?2"),
                       {Value(table), Value(column)}),
             Value(1));
}

void TestSchema::noForeignKeys() {
    TempDatabase db;
    for (const auto& t : kb::schema::tables())
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM pragma_foreign_key_list(?1)"), {Value(t.name)}),
                 Value(0));
    // A row may refer to a position that does not exist.
    db.addSotr(QStringLiteral("Без должности"), Value(999));
    QCOMPARE(db.count(QStringLiteral("Sotr")), 1);
}

void TestSchema::autoNumbersAreNotReused() {
    TempDatabase db;
    db.addDolznost(QStringLiteral("Первая"));
    const qint64 second = db.addDolznost(QStringLiteral("Вторая"));
    db.exec(QStringLiteral("DELETE FROM Dolznost WHERE ID = ?1"), {Value(second)});
    QCOMPARE(db.addDolznost(QStringLiteral("Третья")), second + 1);
}

void TestSchema::textComparesInRussianOrderIgnoringCase() {
    TempDatabase db;
    db.addSotr(QStringLiteral("Ёлкин"));
    db.addSotr(QStringLiteral("Егоров"));
    db.addSotr(QStringLiteral("Жуков"));
    db.addSotr(QStringLiteral("абрамов"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(FIO, ',') FROM (SELECT FIO FROM Sotr ORDER BY FIO)")),
             Value(QStringLiteral("абрамов,Егоров,Ёлкин,Жуков")));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Sotr WHERE FIO = 'ЖУКОВ'")), Value(1));
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
