// Loading the data module: its objects, their order and settings, and every
// way loading fails.
#include "Connection.h"
#include "DataModule.h"
#include "DataSource.h"
#include "DateTimeText.h"
#include "Query.h"
#include "Table.h"
#include "TestSupport.h"

#include <QFile>
#include <QTest>
#include <memory>

using kbtest::TempDatabase;

class TestDataModule : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void loadsEveryObjectInOrder();
    void tablesAndSources();
    void queriesStartClosedAndEmpty();
    void tablesAreReadOnFirstUse();
    void loadFailures_data();
    void loadFailures();
    void lockedDatabase();
};

void TestDataModule::cleanup() {
    QVERIFY(DataM == nullptr);
}

void TestDataModule::loadsEveryObjectInOrder() {
    TempDatabase db;
    kbtest::CurrentDir cd(db.dir());
    {
        TDataM dm;
        QCOMPARE(DataM, &dm);
        QCOMPARE(dm.objectName(), QStringLiteral("DataM"));
        QStringList order;
        for (QObject* child : dm.children())
            order.append(child->objectName());
        QCOMPARE(order,
                 QStringList({"ADOTableSotr", "DataSourceSotr", "ADOTableDolznost", "DataSourceDolznost",
                              "ADOTableStavka", "DataSourceStavka", "DataSourcePremia", "ADOTablePremia", "ADOQuery",
                              "DataSource", "ADOTableOtrChas", "DataSourceOtrChas", "ADOQuery1", "DataSource1"}));
        QCOMPARE(dm.ADOConnection->fileName(), db.path());
    }
    QVERIFY(DataM == nullptr);
}

void TestDataModule::tablesAndSources() {
    TempDatabase db;
    db.addDolznost(QStringLiteral("Бухгалтер"));
    kbtest::CurrentDir cd(db.dir());
    TDataM dm;
    const std::pair<kb::Table*, kb::DataSource*> pairs[] = {
        {dm.ADOTableSotr, dm.DataSourceSotr},       {dm.ADOTableDolznost, dm.DataSourceDolznost},
        {dm.ADOTableStavka, dm.DataSourceStavka},   {dm.ADOTablePremia, dm.DataSourcePremia},
        {dm.ADOTableOtrChas, dm.DataSourceOtrChas},
    };
    const QString names[] = {"Sotr", "Dolznost", "Stavka", "Premia", "OtrChas"};
    for (int i = 0; i < 5; ++i) {
        kb::Table* t = pairs[i].first;
        QVERIFY(t);
        QCOMPARE(t->tableName(), names[i]);
        QCOMPARE(t->objectName(), QStringLiteral("ADOTable") + names[i]);
        QVERIFY(t->isActive());
        QCOMPARE(t->state(), kb::Table::State::Browse);
        QCOMPARE(pairs[i].second->dataSet(), t);
        QCOMPARE(dm.findChild<kb::Table*>(t->objectName()), t);
    }
    QCOMPARE(dm.ADOTableDolznost->recordCount(), 1);
    QCOMPARE(dm.ADOTableSotr->fieldCount(), 8);
    QCOMPARE(dm.DataSource->dataSet(), dm.ADOQuery);
    QCOMPARE(dm.DataSource1->dataSet(), dm.ADOQuery1);
}

void TestDataModule::queriesStartClosedAndEmpty() {
    TempDatabase db;
    kbtest::CurrentDir cd(db.dir());
    TDataM dm;
    for (kb::Query* q : {dm.ADOQuery, dm.ADOQuery1}) {
        QVERIFY(q);
        QVERIFY(!q->isActive());
        QCOMPARE(q->sql().count(), 0);
        QCOMPARE(q->parameters().count(), 0);
    }
    // The shared query works on the module's connection.
    dm.ADOQuery->sql().add(QStringLiteral("SELECT count(*) FROM Sotr"));
    dm.ADOQuery->open();
    QCOMPARE(dm.ADOQuery->fieldValue(0), kb::Value(0));
}

// Loading checks the tables but reads no rows: each table object shows the
// rows the file holds when it is first used, from the first one.
void TestDataModule::tablesAreReadOnFirstUse() {
    TempDatabase db;
    const qint64 cashier = db.addDolznost(QStringLiteral("Кассир"));
    kbtest::CurrentDir cd(db.dir());
    TDataM dm;
    const QDateTime april = kb::datetime::make(2013, 4, 1);
    const qint64 employee = db.addSotr(QStringLiteral("Петров Пётр Петрович"), kb::Value(cashier));
    db.addDolznost(QStringLiteral("Методист"));
    db.addStavka(employee, 1200);
    db.addPremia(employee, april, QStringLiteral("15"));
    db.addOtrChas(employee, 21, april);
    db.addOtrChas(employee, 20, kb::datetime::make(2013, 5, 1));

    QCOMPARE(dm.ADOTableDolznost->recordCount(), 2);
    QCOMPARE(dm.ADOTableSotr->recordCount(), 1);
    QCOMPARE(dm.ADOTableSotr->fieldByName(QStringLiteral("IDDolznost")).value(), kb::Value(cashier));
    QCOMPARE(dm.ADOTableStavka->fieldByName(QStringLiteral("Sum")).value(), kb::Value(1200.0));
    QCOMPARE(dm.ADOTablePremia->fieldByName(QStringLiteral("Data")).value(), kb::Value(april));
    QCOMPARE(dm.ADOTablePremia->fieldByName(QStringLiteral("Premia")).displayText(), QStringLiteral("15"));
    kb::Table& days = *dm.ADOTableOtrChas;
    QVERIFY(days.bof() && !days.eof());
    QCOMPARE(days.currentRow(), 0);
    QCOMPARE(days.fieldByName(QStringLiteral("Count")).value(), kb::Value(21));
    days.next();
    QCOMPARE(days.fieldByName(QStringLiteral("Data")).displayText(), QStringLiteral("05.2013"));
    for (kb::Table* t : dm.findChildren<kb::Table*>())
        QCOMPARE(t->state(), kb::Table::State::Browse);
}

void TestDataModule::loadFailures_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("named");
    QTest::newRow("missing file") << "" << QStringList{"не найден"};
    QTest::newRow("not a database") << "garbage" << QStringList{"не является базой данных"};
    QTest::newRow("missing table") << "DROP TABLE Stavka" << QStringList{"Таблица 'Stavka'"};
    QTest::newRow("missing field")
        << "DROP TABLE OtrChas; CREATE TABLE OtrChas (ID INTEGER PRIMARY KEY, IDSotr INTEGER, Data DATETIME)"
        << QStringList{"Поле 'Count'", "'OtrChas'"};
    QTest::newRow("missing field of the first table")
        << "DROP TABLE Sotr; CREATE TABLE Sotr (ID INTEGER PRIMARY KEY, FIO TEXT)"
        << QStringList{"Поле 'DataR'", "'Sotr'"};
    QTest::newRow("missing table after its data source") << "DROP TABLE Premia" << QStringList{"Таблица 'Premia'"};
}

void TestDataModule::loadFailures() {
    QFETCH(QString, damage);
    QFETCH(QStringList, named);
    TempDatabase db;
    if (damage.isEmpty() || damage == QLatin1String("garbage")) {
        db.closeConnection();
        QVERIFY(QFile::remove(db.path()));
        if (!damage.isEmpty()) {
            QFile f(db.path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(2048, 'x'));
        }
    } else {
        db.connection().execute(damage);
    }
    kbtest::CurrentDir cd(db.dir());
    const QString message = kbtest::errorMessage([] { TDataM dm; });
    for (const QString& part : named)
        QVERIFY2(message.contains(part), qPrintable(message));
    QVERIFY2(message.contains(db.path()), qPrintable(message));
    QVERIFY(DataM == nullptr);
    if (damage.isEmpty())
        QVERIFY(!QFile::exists(db.path())); // opening never creates the file
}

// The module waits for the lock for the connection's busy timeout, then fails.
void TestDataModule::lockedDatabase() {
    TempDatabase db;
    db.connection().execute(QStringLiteral("BEGIN EXCLUSIVE"));
    kbtest::CurrentDir cd(db.dir());
    const QString message = kbtest::errorMessage([] { TDataM dm; });
    QVERIFY2(message.contains(QStringLiteral("заблокирована")), qPrintable(message));
    db.connection().execute(QStringLiteral("ROLLBACK"));
}

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
