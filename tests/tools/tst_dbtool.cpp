// kultbuh-db run in-process on real files (create, demo, check, query, import's refusals, backup, restore), and
// as the real program for restoring, its exit codes, and restoring while another process has the file open.

#include "CapturedStandardError.h"
#include "DateTimeText.h"
#include "DbTool.h"
#include "DemoDatabase.h"
#include "StatementFixtures.h"
#include "Statements.h"
#include "TestRows.h"
#include "Transaction.h"

#include <QDateTime>
#include <QProcess>
#include <QScopeGuard>
#include <sqlite3.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using kbtest::at;

namespace {
struct Result {
    int code;
    QString out, err;
    QStringList rows() const { return out.split(u'\n', Qt::SkipEmptyParts).mid(1); } // after the field names
};

// Runs the tool in-process, FILE in the arguments standing for file.
Result run(QStringList args, const QString& file = {}) {
    std::ostringstream out, err;
    const int code = kb::tools::run(args.replaceInStrings(QStringLiteral("FILE"), file), out, err);
    return {code, QString::fromStdString(out.str()), QString::fromStdString(err.str())};
}

// The tool's query command for a statement of the program, its bindings as --param.
QStringList queryArgs(const kb::dataset::QueryRequest& request) {
    QStringList args{"query", "FILE"};
    for (const kb::dataset::ParamBinding& b : request.bindings) {
        const bool date = b.kind == kb::dataset::ParamBinding::Kind::DateTime;
        args << "--param"
             << b.name +
                    (date ? "=datetime:" + kb::sql::datetime::toIso(b.value.toDateTime()) : "=text:" + b.value.text());
    }
    return args << "--" << request.sql;
}

// 1,000 more employees, many of one name (ties of the salary statement's order), each with a rate, a bonus and days
// for March 2014.
void addEmployees(kb::sql::Connection& c) {
    kb::sql::Transaction transaction(c);
    auto sotr = c.prepareNative(u"INSERT INTO Sotr (FIO, IDDolznost) VALUES (?, ?) RETURNING ID"_s);
    auto stavka = c.prepareNative(u"INSERT INTO Stavka (IDSotr, Sum) VALUES (?, ?)"_s);
    auto premia = c.prepareNative(u"INSERT INTO Premia (IDSotr, Data, Premia) VALUES (?, ?, ?)"_s);
    auto days = c.prepareNative(u"INSERT INTO OtrChas (IDSotr, Count, Data) VALUES (?, ?, ?)"_s);
    const auto put = [](kb::sql::Statement& st, std::initializer_list<kb::sql::Value> values) {
        int i = 0;
        for (const kb::sql::Value& v : values)
            st.bind(++i, v);
        const qint64 id = st.step() ? st.column(0).toInt() : 0;
        st.reset();
        return id;
    };
    const char* names[] = {"Иванов Иван", "иванов иван", "Ёлкин Пётр", "Елкин Петр", "Smith John", "Сидорова Анна"};
    for (int i = 0; i < 1000; ++i) {
        const qint64 id =
            put(sotr, {QString::fromUtf8(names[i % 6]) + (i % 7 ? u" %1"_s.arg(i % 50) : QString()), 1 + i % 9});
        put(stavka, {id, 10000.0 + (i * 37 % 900) * 10.25});
        put(premia, {id, at(2014, 3, 1 + i % 28), QString::fromUtf8(i % 3 ? "12,5" : "7")});
        put(days, {id, 15 + i % 9, at(2014, 3, 1 + i % 20)});
    }
    transaction.commit();
}

bool scribble(const QString& path, qint64 offset) { // damages the pages from offset on
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(offset) && file.write(QByteArray(8000, 'x')) == 8000;
}
} // namespace

using namespace kbtest;

class TestDbTool : public QObject {
    Q_OBJECT
    TempDatabase demoFile_{TempDatabase::Content::Empty, "demo.mdb"};
    std::unique_ptr<TempDatabase> demoServer_, copiedServer_; // made by demo; by create and a copy of the file

private slots:
    void initTestCase() {
        demoFile_.closeConnection();
        QVERIFY(QFile::remove(demoFile_.path()));
        demoServer_ = std::make_unique<TempDatabase>(TempDatabase::Content::Empty, QString(), Engine::Server);
        demoServer_->closeConnection();
        for (TempDatabase* db : {&demoFile_, demoServer_.get()}) {
            QCOMPARE(run({"demo", "FILE"}, db->path()).err, QString());
            QCOMPARE(run({"check", "FILE"}, db->path()).out, QStringLiteral("OK\n"));
            addEmployees(db->connection());
            db->closeConnection();
        }
        copiedServer_ = std::make_unique<TempDatabase>(TempDatabase::Content::Empty, QString(), Engine::Server);
        copiedServer_->closeConnection();
        QCOMPARE(run({"create", "FILE"}, copiedServer_->path()).err, QString());
        QCOMPARE(run({"copy", demoFile_.path(), "FILE"}, copiedServer_->path()).err, QString());
    }

    // The program's statements give the same output, byte for byte, on the demo data with 1,000 more employees in a
    // file, on a server and on a server the file was copied onto: the salary statement of several months, both searches
    // (ё and Ё, letter case, % and _, SQL text as data), the reference list and the pay slip's query.
    void sameOnBothEngines_data() {
        columns<kb::reports::GridRequest>("request");
        for (const auto& [year, month] : {std::pair(2013, 1), {2013, 7}, {2014, 3}, {2014, 12}, {2015, 1}})
            QTest::addRow("salary %d-%d", year, month) << kb::reports::salaryStatement(at(year, month, 17, 9, 30));
        for (const char* text : {"ов", "ё", "Ё", "ИВАН", "_", "%", "н_к", "' OR '1'='1", "\\", ""})
            QTest::addRow("name search '%s'", text) << kb::reports::nameSearch(QString::fromUtf8(text));
        for (const char* text : {"Бухгалтер", "бухгалтер", "Бух%"})
            QTest::addRow("position search '%s'", text) << kb::reports::positionSearch(QString::fromUtf8(text));
        QTest::addRow("reference list") << kb::reports::employeeList();
        QTest::addRow("pay slip") << kb::reports::GridRequest{
            kb::reports::paySlipCheck(QString::fromUtf8("иванов иван иванович")), {}};
    }
    void sameOnBothEngines() {
        const auto [request] = fetch<kb::reports::GridRequest>("request");
        const Result file = run(queryArgs(request), demoFile_.path());
        QCOMPARE(file.err, QString());
        for (const TempDatabase* db : {demoServer_.get(), copiedServer_.get()}) {
            const Result server = run(queryArgs(request), db->path());
            QCOMPARE(server.err, QString());
            QCOMPARE(server.out, file.out);
        }
    }

    // create: the schema without rows. demo: nine positions, twelve employees with full personal data, rates, a bonus
    // and 15 to 23 days for every month of 2013 and 2014. A half-made file is removed.
    void createAndDemo() {
        QTemporaryDir dir;
        const QString empty = dir.filePath("empty.mdb"), demo = dir.filePath("demo.mdb");
        bool early = true; // a killed run must leave nothing under the final name
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, kb::tools::createDatabase(demo, [&](kb::sql::Connection&) {
                                     early = QFile::exists(demo);
                                     throw std::runtime_error("диск заполнен");
                                 }));
        QVERIFY(!early && QDir(dir.path()).isEmpty());
        QCOMPARE(run({"demo", "-h"}).out, QString::fromUtf8(kb::tools::usage()));
        QCOMPARE(run({"backup", "--version"}).out, QStringLiteral("kultbuh-db 0.1\n")); // no file made of it
        for (const QString& file : {empty, demo}) {
            QCOMPARE(run({file == empty ? "create" : "demo", "FILE"}, file).code, 0);
            QCOMPARE(run({"check", "FILE"}, file).out, QStringLiteral("OK\n"));
        }
        // Counts, then faults: personal data not in the masks' forms, months without one bonus and day count each.
        const QString month = "COUNT(*) - COUNT(DISTINCT IDSotr * 10000 + Year(Data) * 100 + Month(Data))";
        const QString counts =
            "SELECT (SELECT COUNT(*) FROM Dolznost), (SELECT COUNT(*) FROM Sotr), (SELECT COUNT(*) FROM Stavka), "
            "(SELECT COUNT(DISTINCT IDSotr) FROM Stavka), (SELECT COUNT(*) FROM Premia WHERE Premia LIKE '%,%') > 0, "
            "(SELECT COUNT(*) FROM Sotr WHERE DataR IS NULL OR Adres IS NULL OR length(INN) <> 12 OR Passport NOT "
            "LIKE '____ ______' OR Telefon NOT LIKE '(___)___-____' OR IDDolznost NOT IN (SELECT ID FROM Dolznost)), "
            "(SELECT " +
            month + " FROM Premia), (SELECT " + month + " FROM OtrChas WHERE Count BETWEEN 15 AND 23 " +
            "AND Year(Data) BETWEEN 2013 AND 2014), (SELECT COUNT(*) FROM Premia), (SELECT COUNT(*) FROM OtrChas)";
        QCOMPARE(run({"query", "FILE", counts}, empty).rows(), QStringList{"0\t0\t0\t0\t0\t0\t0\t0\t0\t0"});
        QCOMPARE(run({"query", "FILE", counts}, demo).rows(), QStringList{"9\t12\t13\t12\t1\t0\t0\t0\t288\t288"});
    }

    // Success: on stdout the field names, then the rows. Failure: nothing on stdout; on stderr the reason (out), and
    // the usage text for a wrong command line (exit code 2). Exit code 1: a check that finds faults, a failing database
    // or statement. No command but backup leaves a file behind or changes one.
    void commands_data() {
        columns<QString, QString, int, QString>("damage", "args", "code", "out"); // args split at |
        const QString check = "check|FILE", query = "query|FILE|";
        row("integers, text, null", "",
            query + "SELECT 42 AS n, -7 AS m, 'слово' AS t, NULL AS x, '' AS e, 'NULL' AS s", 0,
            "n\tm\tt\tx\te\ts\n42\t-7\tслово\tNULL\t\tNULL\n");
        row("stored rows", "", query + "SELECT Sotr.ID, FIO, DataR, Data FROM Sotr, Premia WHERE Sotr.ID = 1", 0,
            "ID\tFIO\tDataR\tData\n1\tТаб\\tи\\\\черта\tNULL\t2013-04-30 23:59:59\n");
        row("control characters escaped", "", query + "SELECT char(27, 91, 49, 109) AS e, char(97, 0, 98) AS z", 0,
            "e\tz\n\\x1b[1m\ta\\x00b\n");
        row("int, float and text parameters", "",
            query + "--param|N=int:41|--param=F=float:-2.25|--param=T=text: a:b |--param=:E=text:|"
                    "SELECT :N + 1 AS n, :F * 2 AS f, :T AS t, length(:E) AS e",
            0, "n\tf\tt\te\n42\t-4.5\t a:b \t0\n");
        row("check: missing table", "DROP TABLE OtrChas", check, 1, "Нет таблицы OtrChas");
        row("check: missing field", "ALTER TABLE Sotr DROP COLUMN INN", check, 1, "Нет поля Sotr.INN");
        row("check: text for a number",
            "DROP TABLE Stavka; CREATE TABLE Stavka (ID INTEGER PRIMARY KEY, IDSotr INTEGER, Sum TEXT)", check, 1,
            "Stavka.Sum");
        row("check: damaged pages", "pages", check, 1, "повреждён: *** in database main *** Page");
        row("check: ID no key", "DROP TABLE Dolznost; CREATE TABLE Dolznost (ID INTEGER, Nazvanie TEXT)", check, 1,
            "Таблица Dolznost: поле ID не является её ключом");
        row("check: hot journal beside", "journal", check, 1, "журнал незавершённой записи");
        row("check: journal a folder", "journal-folder", check, 1, "не обычный файл, а папка");
        row("check: link to a device", "device", check, 1, "не обычный файл (канал, сокет или устройство)");
        row("backup to a dangling link", "links", "backup|FILE|FILE.link", 1, "ссылка на");
        row("restore onto itself", "links", "restore|FILE.same|FILE", 1, "один и тот же файл");
        row("demo on a full disk", "full", "demo|FILE.d/new.mdb", 1, "не хватает места");
        row("restore on a full disk", "full", "restore|FILE|FILE.d/BAZA.mdb", 1, "не хватает места");
        row("query that writes", "", query + "DELETE FROM Premia RETURNING ID", 1, "только читает");
        row("character 0 in a message", "", query + "SELECT Month(char(0))", 1, "'\\x00' не");
        row("import of a scrambled Jet file", "jet", "import|FILE|FILE.none", 1, "повреждён");
        row("import of no Jet file", "", "import|FILE|FILE.none", 1, "не является базой данных Microsoft Jet");
        row("backup of damaged pages", "pages", "backup|FILE|FILE.none", 1, "не прошла проверку целостности");
        row("create over a file", "", "create|FILE", 1, "уже существует");
        row("unknown parameter", "", query + "--param|X=int:1|SELECT :Y", 1, "'X'");
        row("unknown command", "", "drop|x", 2, "Неизвестная команда: drop");
        row("no file", "", "create|--", 2, "ровно один аргумент");
        row("query without lines", "", "query|x|--param|N=int:1|--", 2, "Не указан текст запроса");
        row("unknown option", "", "create|--verbose", 2, "Неизвестный ключ: --verbose");
        row("unknown kind", "", "query|x|--param|N=blob:5|SELECT 1", 2, "\"blob\" неизвестен");
    }

    void commands() {
        const auto [damage, line, code, output] =
            fetch<QString, QString, int, QString>("damage", "args", "code", "out");
        const QStringList args = line.split(u'|');
        kbtest::StatementDb db;
        db.addSotr(QStringLiteral("Таб\tи\\черта"));
        db.addPremia(1, kbtest::at(2013, 4, 30, 23, 59, 59), QStringLiteral("abc"));
        db.addDolznost(QString(20000, u'Ж')); // pages enough to damage
        if (damage.contains(u' '))
            db.connection().execute(damage);
        db.closeConnection();
        if (damage == u"pages")
            QVERIFY(scribble(db.path(), 4096));
        if (damage.startsWith(u"journal")) // a journal, perhaps of another database
            QVERIFY(damage == u"journal" ? writeFile(db.path() + "-journal", QByteArray(512, 'x'))
                                         : QDir().mkdir(db.path() + "-journal"));
        if (damage == u"jet") { // the signature of a Jet 4.0 file's first page over an SQLite file
            QFile file(db.path());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.write("\0\1\0\0Standard Jet DB\0\1", 21) == 21);
        }
        if (damage == u"device")
            QVERIFY(QFile::remove(db.path()) && QFile::link("/dev/null", db.path()));
        if (damage == u"links")
            QVERIFY(QFile::link("nowhere", db.path() + ".link") &&
                    ::link(qPrintable(db.path()), qPrintable(db.path() + ".same")) == 0);
        const QString disk = db.path() + ".d";
        const auto unmount = qScopeGuard([&] { ::umount(qPrintable(disk)); });
        if (damage == u"full" && (!QDir().mkdir(disk) || ::mount("tmpfs", qPrintable(disk), "tmpfs", 0, "size=16k")))
            QSKIP("no file system of its own can be mounted here");
        const QString before = folderState(db.path());
        kbtest::CapturedStandardError noise; // libmdb's own printing among it
        const Result result = run(args, db.path());
        QCOMPARE(noise.text(), QByteArray());
        if (args.value(0) != u"backup")
            QCOMPARE(folderState(db.path()), before);
        const QString usage = u'\n' + QString::fromUtf8(kb::tools::usage());
        QCOMPARE(result.code, code);
        QCOMPARE(result.out, code == 0 ? output : QString());
        QCOMPARE(result.err.endsWith(usage), code == 2);
        const QString reason = code == 2 ? result.err.chopped(usage.size()) : result.err;
        QVERIFY2(code == 0 ? reason.isEmpty() : !reason.isEmpty() && reason.contains(output), qPrintable(result.err));
        if (damage.isEmpty())
            QCOMPARE(db.count(QStringLiteral("Premia")), 1);
        QVERIFY(!QFile::exists(db.path() + ".none"));
    }

    // backup: a copy under backup/ by default, never over an existing file; restore puts it back, keeping the replaced
    // file beside, and refuses a damaged backup, a file another process has open and a second restore.
    void backupAndRestore_data() {
        columns<QString, int, QString>("fault", "code", "message");
        row("round trip", "", 0, "");
        row("damaged backup", "damaged", 1, "не годится для восстановления");
        row("file open by another process", "open", 1, "открыт другой программой");
        row("file of a former restore", "former", 1, "от прошлого восстановления");
        row("through a link, with a killed writer's journal", "link", 0, "заменён резервной копией");
        row("a writer without the flock", "sqlite", 1, "блокировка SQLite");
    }
    void backupAndRestore() {
        const auto [fault, code, message] = fetch<QString, int, QString>("fault", "code", "message");
        kbtest::StatementDb db;
        db.addDolznost(QStringLiteral("Сохранённая"));
        const Result made = run({"backup", "FILE"}, db.path());
        QCOMPARE(made.code, 0);
        const QString copy = made.out.trimmed();
        QVERIFY2(copy.startsWith(db.filePath("backup/BAZA-")) &&
                     QDateTime::fromString(copy.right(21), "yyyy-MM-dd-HHmmss'.mdb'").isValid(),
                 qPrintable(copy));
        QCOMPARE(run({"backup", "FILE", copy}, db.path()).err,
                 "Файл " + copy + " уже существует: резервная копия не сделана\n");
        db.addDolznost(QStringLiteral("После копии"));
        QVERIFY(fault != u"damaged" || scribble(copy, 2048));
        QVERIFY(fault != u"former" || QFile::copy(db.path(), db.path() + ".before-restore"));
        if (fault != u"open")
            db.closeConnection();
        const QString real = db.filePath("real/BAZA.mdb"),
                      kept = (fault == u"link" ? real : db.path()) + ".before-restore";
        if (fault == u"link")
            QVERIFY(QDir().mkdir(db.filePath("real")) && QFile::rename(db.path(), real) &&
                    QFile::link(real, db.path()) &&
                    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        sqlite3* writer = nullptr; // writes without the program's flock: the sqlite3 shell, or one killed half-way
        const auto write = [&] {
            return sqlite3_open(qPrintable(db.path()), &writer) == SQLITE_OK &&
                   sqlite3_exec(writer,
                                "PRAGMA cache_size = 2; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                                "i + 1 FROM n WHERE i < 5000) INSERT INTO Stavka (Sum) SELECT i FROM n",
                                nullptr, nullptr, nullptr) == SQLITE_OK;
        };
        if (const pid_t child = fault == u"link" ? ::fork() : -1; child == 0)
            ::_exit(write() ? 0 : 1);
        else if (child > 0)
            QVERIFY(::waitpid(child, nullptr, 0) == child && QFile::exists(real + "-journal"));
        if (fault == u"sqlite")
            QVERIFY(write());
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QStringLiteral(KULTBUH_DB_PATH), {"restore", copy, db.path()});
        QVERIFY(tool.waitForFinished(60000));
        sqlite3_close(writer);
        QCOMPARE(tool.exitCode(), code);
        QVERIFY(QString::fromUtf8(tool.readAll()).contains(message));
        const QString names = "SELECT group_concat(Nazvanie, ', ') FROM Dolznost";
        QCOMPARE(run({"query", "FILE", names}, db.path()).rows(),
                 QStringList(code == 0 ? "Сохранённая" : "Сохранённая, После копии"));
        if (code == 0 && fault != u"link")
            QCOMPARE(run({"query", "FILE", names}, kept).rows(), QStringList("Сохранённая, После копии"));
        QCOMPARE(QFile::exists(kept), code == 0 || fault == u"former");
        if (fault == u"link") // the link stays, the replaced file keeps its journal, the new one its mode
            QVERIFY(QFileInfo(db.path()).isSymLink() && QFile::exists(kept + "-journal") &&
                    !QFile::exists(real + "-journal") && QFile::permissions(real) == QFile::permissions(kept));
    }
};

QTEST_GUILESS_MAIN(TestDbTool)
#include "tst_dbtool.moc"
