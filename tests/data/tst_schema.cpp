// The five tables: their fields and what a database created from them holds.
#include "Schema.h"
#include "TestSupport.h"

#include <QTest>
#include <stdexcept>

using kb::Value;
using kbtest::TempDatabase;

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    // Each table's fields, by the names the database files use; in the file created from them each column's declared
    // type gives its field's type.
    void fields() {
        TempDatabase db;
        QStringList names;
        for (const auto& t : kb::schema::tables()) {
            names << t.name + QLatin1Char(':');
            for (const auto& f : t.fields) {
                names << f.name;
                QCOMPARE(db.connection().columnTypes().type(t.name, f.name), f.type);
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
        TempDatabase db;
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
