// The database created from the five tables; loading the data module: its objects, and every way loading fails.
#include "DataModule.h"
#include "DataSource.h"
#include "Query.h"
#include "Statements.h"
#include "Table.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

using kb::dataset::TDataM;
using kb::sql::Value;
using namespace kbtest;
using namespace Qt::StringLiterals;

// A group role of accountants with a login role in it on the test server, dropped after the databases granting them.
struct Accountant {
    QString group = u"kbt_users_%1"_s.arg(QCoreApplication::applicationPid()), login = group + u"_ivanova"_s;
    Accountant() { server(u"CREATE ROLE %1 NOLOGIN; CREATE ROLE %2 LOGIN IN ROLE %1"_s.arg(group, login)); }
    ~Accountant() { server(u"DROP ROLE %2; DROP ROLE %1"_s.arg(group, login)); }
    static void server(const QString& sql) {
        kb::sql::Connection(serverName(u"postgres"_s), kb::sql::Connection::Mode::CreateNew).execute(sql);
    }
};

class TestDataModule : public QObject {
    Q_OBJECT
private slots:
    // No link is a foreign key, and numbers of deleted rows are never given again.
    void links() {
        TempDatabase db;
        QCOMPARE(db.scalar(u"SELECT count(*) FROM sqlite_master AS m, pragma_foreign_key_list(m.name)"_s), Value(0));
        db.addSotr(u"Без должности"_s, Value(999));
        const qint64 second = db.addDolznost(u"Вторая"_s);
        db.exec(u"DELETE FROM Dolznost WHERE ID = ?1"_s, {Value(second)});
        QCOMPARE(db.addDolznost(u"Третья"_s), second + 1);
    }

    // Every object in its order, each data source on its data set; the tables are open, from a file or a server.
    void objects_data() {
        columns<Engine>("engine");
        for (Engine e : kEngines)
            newEngineRow(e, "five tables");
    }
    void objects() {
        TempDatabase db(std::get<0>(fetch<Engine>("engine")));
        TDataM dm(nullptr, db.path());
        QStringList objects;
        for (QObject* child : dm.children()) {
            const auto* source = qobject_cast<kb::dataset::DataSource*>(child);
            objects << child->objectName() + (source ? u'>' + source->dataSet()->objectName() : QString());
        }
        QCOMPARE(objects.join(u' '),
                 u"ADOTableSotr DataSourceSotr>ADOTableSotr ADOTableDolznost DataSourceDolznost>ADOTableDolznost "
                 u"ADOTableStavka DataSourceStavka>ADOTableStavka DataSourcePremia>ADOTablePremia ADOTablePremia "
                 u"ADOQuery DataSource>ADOQuery ADOTableOtrChas DataSourceOtrChas>ADOTableOtrChas ADOQuery1"_s);
        for (const auto* t : {dm.staffTable, dm.positionTable, dm.salaryRateTable, dm.bonusTable, dm.daysWorkedTable})
            QVERIFY(t->isActive());
    }

    // The program under an accountant's role with the administrator's guide's rights: it opens, computes the statement,
    // saves, adds, and refuses a change made meanwhile by another user; the tables themselves it cannot change.
    void accountantsRole() {
        const Accountant role;
        TempDatabase db(Engine::Server);
        db.addSotr(u"Иванова"_s, Value(db.addDolznost(u"Кассир"_s)));
        db.addStavka(1, 20000.0);
        db.addPremia(1, at(2013, 4, 1), u"10"_s);
        db.addOtrChas(1, 20, at(2013, 4, 1));
        db.connection().execute(
            u"GRANT CONNECT ON DATABASE %1 TO %2; GRANT USAGE ON SCHEMA public TO %2; GRANT SELECT, INSERT, UPDATE, "
            "DELETE ON \"Sotr\", \"Dolznost\", \"Stavka\", \"Premia\", \"OtrChas\" TO %2; GRANT SELECT ON "
            "kb_schema_version TO %2"_s.arg(db.path().section(u"dbname="_s, 1).section(u' ', 0, 0), role.group));
        TDataM dm(nullptr, QString(db.path()).replace(u"user=postgres"_s, u"user="_s + role.login));
        kb::dataset::openRequest(kb::reports::salaryStatement(at(2013, 4, 15)), *dm.sharedQuery);
        QCOMPARE(dm.sharedQuery->value(0, 9), Value(20000.0 * 0.87 + 2000.0));
        const auto save = [](kb::dataset::Table* t, const QString& field, const QString& text, bool insert = false) {
            insert ? t->insert() : t->edit();
            t->fieldByName(field).setText(text);
            return errorMessage([t] { t->post(); });
        };
        QCOMPARE(save(dm.staffTable, u"Adres"_s, u"Лесная"_s) +
                     save(dm.positionTable, u"Nazvanie"_s, u"Бухгалтер"_s, true),
                 QString());
        db.exec(u"UPDATE Sotr SET Adres = 'Садовая'"_s);
        QVERIFY(save(dm.staffTable, u"Adres"_s, u"Полевая"_s).contains(u"(поле 'Adres')"_s));
        QCOMPARE(db.scalar(u"SELECT Adres FROM Sotr"_s), Value(u"Садовая"_s));
        for (const char* change :
             {"CREATE TABLE t (i int)", "ALTER TABLE \"Sotr\" ADD x int", "DROP TABLE \"Premia\""}) {
            const QString refused = errorMessage([&] { dm.connection->execute(QString::fromLatin1(change)); });
            QVERIFY2(refused.contains(QRegularExpression(
                         u"^Нет прав на это действие в базе данных \\(сервер .*: (permission denied|must be owner)"_s)),
                     change);
        }
    }

    // A file of the earlier layout gains the indexes of the monthly tables on loading; no stored value changes.
    void earlierLayoutGainsIndexes() {
        TempDatabase db;
        db.exec(u"INSERT INTO Premia (IDSotr, Data, Premia) VALUES (1, '2013-04-15 00:00:00', '12,5')"_s);
        db.connection().execute(u"DROP INDEX Premia_IDSotr_Data; DROP INDEX OtrChas_IDSotr_Data; "
                                "CREATE INDEX Premia_IDSotr ON Premia (IDSotr)"_s);
        TDataM{nullptr, db.path()};
        QCOMPARE(
            db.scalar(u"SELECT group_concat(name || ':' || (SELECT group_concat(name) FROM pragma_index_info(m.name)), "
                      "' ') FROM (SELECT name FROM sqlite_master WHERE tbl_name IN ('Premia', 'OtrChas') AND type "
                      "= 'index' ORDER BY name) AS m"_s),
            Value(u"OtrChas_IDSotr_Data:IDSotr,Data Premia_IDSotr:IDSotr Premia_IDSotr_Data:IDSotr,Data"_s));
        QCOMPARE(db.scalar(u"SELECT quote(ID) || quote(IDSotr) || quote(Data) || quote(Premia) FROM Premia"_s),
                 Value(u"11'2013-04-15 00:00:00''12,5'"_s));
    }

    // The message names the file (%1); a missing file is not created. (The connection's test tries its failures.)
    void loadFailures_data() {
        columns<QString, QString>("damage", "message");
        row("missing file", "remove", "Файл базы данных не найден: %1");
        row("missing table", "DROP TABLE Stavka", "Таблица 'Stavka' не найдена в базе данных %1");
        row("ID not the key", "DROP TABLE Dolznost; CREATE TABLE Dolznost (ID INTEGER, Nazvanie TEXT)",
            "База данных %1 не подходит программе. Таблица Dolznost: поле ID не является её ключом (INTEGER PRIMARY "
            "KEY), записи с одинаковым ID нельзя изменить по отдельности");
    }
    void loadFailures() {
        const auto [damage, message] = fetch<QString, QString>("damage", "message");
        TempDatabase db;
        if (damage == u"remove") {
            db.closeConnection();
            QVERIFY(QFile::remove(db.path()));
        } else {
            db.connection().execute(damage);
        }
        CurrentDir cd(db.dir());
        QCOMPARE(errorMessage([] { TDataM dm; }), message.arg(db.path()));
        QCOMPARE(QFile::exists(db.path()), damage != u"remove");
    }
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
