// Loading the data module: its objects, their order and settings, and every
// way loading fails.
#include "Connection.h"
#include "DataModule.h"
#include "DataSource.h"
#include "DateTimeText.h"
#include "Query.h"
#include "Table.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QFile>
#include <QTest>

using kb::Value;
using namespace kbtest;

class TestDataModule : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(DataM == nullptr); }

    // Every object in its order, each data source on its data set, the tables open, the queries closed and empty.
    void objects() {
        TempDatabase db;
        CurrentDir cd(db.dir());
        TDataM dm;
        QCOMPARE(DataM, &dm);
        QCOMPARE(dm.ADOConnection->fileName(), db.path());
        QStringList order;
        for (QObject* child : dm.children())
            order << child->objectName();
        QCOMPARE(order,
                 QStringList({"ADOTableSotr", "DataSourceSotr", "ADOTableDolznost", "DataSourceDolznost",
                              "ADOTableStavka", "DataSourceStavka", "DataSourcePremia", "ADOTablePremia", "ADOQuery",
                              "DataSource", "ADOTableOtrChas", "DataSourceOtrChas", "ADOQuery1", "DataSource1"}));
        const std::pair<kb::DataSource*, kb::DataSet*> sources[] = {{dm.DataSourceSotr, dm.ADOTableSotr},
                                                                    {dm.DataSourceDolznost, dm.ADOTableDolznost},
                                                                    {dm.DataSourceStavka, dm.ADOTableStavka},
                                                                    {dm.DataSourcePremia, dm.ADOTablePremia},
                                                                    {dm.DataSourceOtrChas, dm.ADOTableOtrChas},
                                                                    {dm.DataSource, dm.ADOQuery},
                                                                    {dm.DataSource1, dm.ADOQuery1}};
        for (const auto& [source, set] : sources)
            QCOMPARE(source->dataSet(), set);
        for (kb::Table* t :
             {dm.ADOTableSotr, dm.ADOTableDolznost, dm.ADOTableStavka, dm.ADOTablePremia, dm.ADOTableOtrChas}) {
            QCOMPARE(t->objectName(), QStringLiteral("ADOTable") + t->tableName());
            QCOMPARE(t->state(), kb::Table::State::Browse);
        }
        for (kb::Query* q : {dm.ADOQuery, dm.ADOQuery1})
            QVERIFY(!q->isActive() && q->sql().count() == 0 && q->parameters().count() == 0);
    }

    // Loading checks the tables but reads no rows: each table shows the rows the file holds at its first use.
    void tablesAreReadOnFirstUse() {
        TempDatabase db;
        CurrentDir cd(db.dir());
        TDataM dm;
        const qint64 id = db.addSotr(QStringLiteral("Петров"));
        db.addStavka(id, 1200);
        db.addOtrChas(id, 21, kb::datetime::make(2013, 4, 1));
        db.addOtrChas(id, 20, kb::datetime::make(2013, 5, 1));
        QCOMPARE(dm.ADOTableSotr->recordCount(), 1);
        QCOMPARE(dm.ADOTableStavka->fieldByName(QStringLiteral("Sum")).value(), Value(1200.0));
        dm.ADOTableOtrChas->next();
        QCOMPARE(dm.ADOTableOtrChas->fieldByName(QStringLiteral("Data")).displayText(), QStringLiteral("05.2013"));
    }

    // The message names the file (%1); a missing file is not created.
    void loadFailures_data() {
        columns<QString, QString>("damage", "message");
        row("missing file", "remove", "Файл базы данных не найден: %1");
        row("not a database", "garbage", "Файл %1 не является базой данных (чтение схемы): file is not a database");
        row("missing table", "DROP TABLE Stavka", "Таблица 'Stavka' не найдена в базе данных %1");
        row("missing field",
            "DROP TABLE OtrChas; CREATE TABLE OtrChas (ID INTEGER PRIMARY KEY, IDSotr INTEGER, Data DATETIME)",
            "Поле 'Count' не найдено в таблице 'OtrChas' базы данных %1");
        row("missing table after its data source", "DROP TABLE Premia", "Таблица 'Premia' не найдена в базе данных %1");
        // after the busy timeout
        row("locked", "BEGIN EXCLUSIVE",
            "База данных %1 заблокирована другой программой или пользователем (чтение схемы): database is locked");
    }
    void loadFailures() {
        const auto [damage, message] = fetch<QString, QString>("damage", "message");
        TempDatabase db;
        if (damage == QLatin1String("remove") || damage == QLatin1String("garbage")) {
            db.closeConnection();
            QFile f(db.path());
            QVERIFY(damage == QLatin1String("remove") ? f.remove() : f.open(QIODevice::WriteOnly));
            f.write(QByteArray(2048, 'x'));
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
