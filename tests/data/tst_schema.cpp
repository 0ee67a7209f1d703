// The five tables: their fields and what a database created from them holds.
#include "ColumnTypes.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QTest>
#include <stdexcept>

using kb::Value;

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    // Each field as the file holds it: its declared type gives the field's type, only the ID is the key and
    // read-only, and only text is limited, to 255 characters.
    void fields() {
        kbtest::TempDatabase db;
        QStringList names;
        for (const auto& t : kb::schema::tables()) {
            names << t.name + QLatin1Char(':');
            for (const auto& f : t.fields) {
                names << f.name;
                const QList<Value> args = {Value(t.name), Value(f.name)};
                QCOMPARE(kb::ColumnTypes::classify(db.scalar(QStringLiteral("SELECT type FROM pragma_table_info(?1) "
                                                                            "WHERE name = ?2"),
                                                             {args[0], args[1]})
                                                       .toText()),
                         f.type);
                QCOMPARE(db.scalar(QStringLiteral("SELECT pk FROM pragma_table_info(?1) WHERE name = ?2"),
                                   {args[0], args[1]}),
                         Value(f.readOnly ? 1 : 0));
                QCOMPARE(f.readOnly, f.name == QLatin1String("ID"));
                QCOMPARE(f.maxLength, f.type == kb::FieldType::Text ? 255 : 0);
            }
        }
        QCOMPARE(names.join(QLatin1Char(' ')),
                 QStringLiteral("Sotr: ID FIO DataR IDDolznost Adres Telefon Passport INN "
                                "Dolznost: ID Nazvanie Stavka: ID IDSotr Sum Premia: ID "
                                "IDSotr Data Premia OtrChas: ID IDSotr Count Data"));
        QCOMPARE(kb::schema::table(QStringLiteral("sotr")).field(QStringLiteral("fio"))->name, QStringLiteral("FIO"));
        QVERIFY(!kb::schema::table(QStringLiteral("Sotr")).field(QStringLiteral("Nazvanie")));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, kb::schema::table(QStringLiteral("Nothing")));
    }

    // Indexes on the links, none of them a foreign key, and numbers of deleted rows never given again.
    void links() {
        kbtest::TempDatabase db;
        QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(m.tbl_name || '.' || i.name, ' ') FROM sqlite_master "
                                          "AS m, pragma_index_info(m.name) AS i WHERE m.type = 'index'")),
                 Value(QStringLiteral("Sotr.IDDolznost Stavka.IDSotr Premia.IDSotr OtrChas.IDSotr")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master AS m, pragma_foreign_key_list(m.name)")),
                 Value(0));
        db.addSotr(QStringLiteral("Без должности"), Value(999));
        const qint64 second = db.addDolznost(QStringLiteral("Вторая"));
        db.exec(QStringLiteral("DELETE FROM Dolznost WHERE ID = ?1"), {Value(second)});
        QCOMPARE(db.addDolznost(QStringLiteral("Третья")), second + 1);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
