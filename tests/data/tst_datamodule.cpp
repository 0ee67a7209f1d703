// The five tables and the database created from them; loading the data module: its objects, their order and
// settings, and every way loading fails.
#include "Connection.h"
#include "DataModule.h"
#include "DataSource.h"
#include "Query.h"
#include "Schema.h"
#include "Table.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QFile>
#include <stdexcept>

using kb::TDataM;
using kb::Value;
using namespace kbtest;

class TestDataModule : public QObject {
    Q_OBJECT
private slots:
    // In the file created from the tables each column's declared type gives its field's type; fields are found by name
    // in any letter case. (Every test that fills a database pins the names.)
    void fields() {
        TempDatabase db;
        for (const auto& t : kb::schema::tables())
            for (const auto& f : t.fields)
                QCOMPARE(db.connection().columnTypes().type(t.name, f.name), f.type);
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

    // Every object in its order: each data source on its data set, the tables open, the queries closed and empty.
    void objects() {
        TempDatabase db;
        CurrentDir cd(db.dir());
        TDataM dm;
        QCOMPARE(dm.connection->fileName(), db.path());
        const QObject* const roles[] = {dm.staffTable,      dm.positionTable, dm.salaryRateTable, dm.bonusTable,
                                        dm.daysWorkedTable, dm.sharedQuery,   dm.sharedSource,    dm.slipQuery};
        QStringList roleNames;
        for (const QObject* object : roles)
            roleNames << object->objectName();
        QCOMPARE(roleNames.join(u' '),
                 QStringLiteral("ADOTableSotr ADOTableDolznost ADOTableStavka ADOTablePremia ADOTableOtrChas ADOQuery "
                                "DataSource ADOQuery1"));
        QStringList objects;
        for (QObject* child : dm.children()) {
            objects << child->objectName();
            if (auto* source = qobject_cast<kb::DataSource*>(child))
                objects.last() +=
                    QLatin1String(">") + (source->dataSet() ? source->dataSet()->objectName() : QString());
            if (auto* t = qobject_cast<kb::Table*>(child))
                objects.last() +=
                    QLatin1String(t->state() == kb::Table::State::Browse ? ":" : ":closed ") + t->tableName();
            if (auto* q = qobject_cast<kb::Query*>(child))
                objects.last() += q->isActive() || q->sql().count() + q->parameters().count() ? ":used" : ":empty";
        }
        QCOMPARE(
            objects.join(QLatin1Char(' ')),
            QStringLiteral("ADOTableSotr:Sotr DataSourceSotr>ADOTableSotr ADOTableDolznost:Dolznost "
                           "DataSourceDolznost>ADOTableDolznost ADOTableStavka:Stavka DataSourceStavka>ADOTableStavka "
                           "DataSourcePremia>ADOTablePremia ADOTablePremia:Premia ADOQuery:empty DataSource>ADOQuery "
                           "ADOTableOtrChas:OtrChas DataSourceOtrChas>ADOTableOtrChas ADOQuery1:empty"));
    }

    // The message names the file (%1); a missing file is not created. The connection's other failures pass through the
    // same way and are tried with the connection.
    void loadFailures_data() {
        columns<QString, QString>("damage", "message");
        row("missing file", "remove", "Файл базы данных не найден: %1");
        row("missing table", "DROP TABLE Stavka", "Таблица 'Stavka' не найдена в базе данных %1");
        row("missing table after its data source", "DROP TABLE Premia", "Таблица 'Premia' не найдена в базе данных %1");
    }
    void loadFailures() {
        const auto [damage, message] = fetch<QString, QString>("damage", "message");
        TempDatabase db;
        if (damage == QLatin1String("remove")) {
            db.closeConnection();
            QVERIFY(QFile::remove(db.path()));
        } else {
            db.connection().execute(damage);
        }
        CurrentDir cd(db.dir());
        QCOMPARE(errorMessage([] { TDataM dm; }), message.arg(db.path()));
        QCOMPARE(QFile::exists(db.path()), damage != QLatin1String("remove"));
    }
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
