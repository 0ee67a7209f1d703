// kultbuh-db copy in-process: the demo department with gaps in its IDs and values of every kind, and the refusals.

#include "DatabaseCopy.h"
#include "DatabaseName.h"
#include "DateTimeText.h"
#include "DbTool.h"
#include "DemoDatabase.h"
#include "Statements.h"
#include "TestRows.h"
#include "TestSupport.h"
#include "Transaction.h"

#include <optional>
#include <sstream>

namespace {
// The tool's output, or "error CODE: " and its message when it fails.
QString run(const QStringList& args) {
    std::ostringstream out, err;
    const int code = kb::tools::run(args, out, err);
    return QString::fromStdString(code == 0 ? out.str() : "error " + std::to_string(code) + ": " + err.str());
}

// The tool's query of the request on file, its bindings as --param options.
QString query(const QString& file, const kb::dataset::QueryRequest& request) {
    QStringList args{"query", file};
    for (const kb::dataset::ParamBinding& b : request.bindings)
        args << "--param" << b.name + "=datetime:" + kb::sql::datetime::toIso(b.value.toDateTime());
    return run(args << "--" << request.sql);
}
} // namespace

using namespace kbtest;

class TestDbCopy : public QObject {
    Q_OBJECT
private slots:
    // On a file: target "new", a file made by the copy; "exists", a file there already; otherwise an existing
    // database with the schema, changed by the target's SQL, filled by copyDatabase. On a server: the demo file goes
    // onto a database made by `kultbuh-db create` (changed by the target's SQL first), or one without tables ("bare"),
    // through the first of the commands in target, and comes back into a new file through the second. A refusal leaves
    // the target as it was.
    void copy_data() {
        QTest::addColumn<Engine>("engine");
        columns<QString, QString, QString>("from", "target", "error");
        fileRow("into a new file", "demo.db", "new", "");
        fileRow("over an existing file", "demo.db", "exists", "уже существует");
        fileRow("from a missing file", "none.db", "new", "не найден: ");
        fileRow("a copy that differs", "demo.db",
                "CREATE TRIGGER t AFTER INSERT ON Premia BEGIN UPDATE Premia SET Premia = '' WHERE ID = 9; END",
                "таблица Premia, ID 9, поле Premia: в исходной \"1500\", в копии \"\"");
        bothRow("into a database with rows", "demo.db", "INSERT INTO OtrChas (Count) VALUES (1)", "в таблице OtrChas");
        const auto serverRow = [](const char* tag, const char* target, const char* error) {
            newEngineRow(Engine::Server, tag) << "demo.db" << target << error;
        };
        serverRow("while another's insert is not committed", "pending INSERT INTO Sotr (ID, FIO) VALUES (99, 'x')",
                  "занята");
        serverRow("copy there, backup back", "copy backup", "");
        serverRow("restore into no tables, copy back", "restore copy bare", "");
    }
    void copy() {
        const auto [engine, from, target, error] =
            fetch<Engine, QString, QString, QString>("engine", "from", "target", "error");
        TempDatabase existing;
        kb::tools::createDemoDatabase(existing.filePath("demo.db"));
        kb::sql::Connection(existing.filePath("demo.db"))
            .execute("DELETE FROM Sotr WHERE ID IN (2, 12); DELETE FROM Dolznost WHERE ID = 9; DELETE FROM Premia "
                     "WHERE ID BETWEEN 3 AND 7 OR ID = 288; UPDATE Premia SET Premia = '1500' WHERE ID = 9; INSERT "
                     "INTO Sotr (FIO, DataR, Adres) VALUES ('Ёжиков\tЁ', '1990-02-03 04:05:06', NULL); INSERT INTO "
                     "Stavka (IDSotr, Sum) VALUES (13, 1234.56)");
        const QString source = existing.filePath(from);
        QString to = target == u"new" ? existing.filePath("to.db") : existing.path();
        std::unique_ptr<TempDatabase> server;
        if (engine == Engine::Server) {
            server = std::make_unique<TempDatabase>(TempDatabase::Content::Empty, "", Engine::Server);
            server->closeConnection();
            if (!target.endsWith("bare"))
                QCOMPARE(run({"create", server->path()}), QString());
            to = server->path();
        }
        const bool sql = target.contains("INSERT") || target.startsWith("CREATE");
        const QStringList commands = server && !sql ? target.split(' ') : QStringList{"copy"};
        std::optional<kb::sql::Connection> other; // a writer whose insert stays uncommitted during the copy
        std::optional<kb::sql::Transaction> pending;
        if (target.startsWith("pending ")) {
            other.emplace(to);
            pending.emplace(*other);
            other->prepareNative(target.mid(8)).step();
        } else if (sql) {
            (server ? *server : existing).exec(target);
        }
        const QString before = folderState(existing.path());
        const QString result =
            !sql ? run({commands.at(0), source, to})
                 : "error 1: " + errorMessage([&] {
                       kb::sql::Connection sourceConnection(source, kb::sql::Connection::Mode::ReadOnly);
                       if (!server)
                           return kb::dataset::copyDatabase(sourceConnection, existing.connection()), void();
                       kb::sql::Connection targetConnection(to, kb::sql::Connection::Mode::OpenExisting, 200);
                       kb::dataset::copyDatabase(sourceConnection, targetConnection);
                   });
        pending.reset();
        QVERIFY2(error.isEmpty() ? !result.startsWith("error")
                                 : result.startsWith("error 1: ") && result.contains(error),
                 qPrintable(result));
        TempDatabase& written = server ? *server : existing;
        if (!error.isEmpty()) {
            if (!server)
                QCOMPARE(folderState(existing.path()), before);
            QCOMPARE(written.count("Sotr") + written.count("Premia") + written.count("OtrChas"),
                     qint64(target.startsWith("INSERT")));
            return;
        }
        QCOMPARE(result.split('\n').at(3), QStringLiteral("Premia: скопировано строк: 282"));
        std::vector<kb::dataset::QueryRequest> requests{
            kb::reports::employeeList(), kb::reports::salaryStatement(kb::sql::datetime::make(2013, 4, 1)),
            kb::reports::salaryStatement(kb::sql::datetime::make(2014, 12, 1))};
        for (const char* table : {"Sotr", "Dolznost", "Stavka", "Premia", "OtrChas"})
            requests.push_back({{QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table)}, {}});
        QStringList copies{to};
        if (server) { // and back into a file, which passes the check
            copies << existing.filePath("back.db");
            QVERIFY(!run({commands.at(1), to, copies.last()}).startsWith("error"));
            QCOMPARE(run({"check", copies.last()}), QStringLiteral("OK\n"));
        }
        for (const QString& copy : copies)
            for (const kb::dataset::QueryRequest& request : requests)
                QCOMPARE(query(copy, request), query(source, request));
        QVERIFY(query(to, requests[3]).contains("13\tЁжиков\\tЁ\t1990-02-03 04:05:06\tNULL\tNULL"));
        // The keys go on above the greatest copied, also where the last rows were deleted before the copy.
        kb::sql::Connection copied(to);
        for (const char* insert : {"INSERT INTO Sotr (FIO) VALUES ('Новый')", "INSERT INTO Premia (IDSotr) VALUES (1)"})
            copied.prepareNative(insert).step();
        QCOMPARE(query(to, {{"SELECT max(ID) FROM Sotr UNION ALL SELECT max(ID) FROM Premia"}, {}}),
                 QStringLiteral("max(ID)\n14\n288\n"));
    }

    // Which names the commands take as a server's database rather than a file.
    void serverNames_data() {
        columns<QString, bool>("name", "server");
        row("URI", "postgresql:///kultbuh?host=/tmp/s", true);
        row("short URI", "postgres://u@h/db", true);
        row("service", "service=kultbuh", true);
        row("keywords with blanks", " host = a dbname=b", true);
        row("keyword with '_'", "connect_timeout=5 dbname=b", true);
        row("'=' in a folder name", "./a=b/x.db", false);
        row("plain file", "BAZA.mdb", false);
    }
    void serverNames() {
        const auto [name, server] = fetch<QString, bool>("name", "server");
        QCOMPARE(kb::sql::isServerName(name), server);
    }
};

QTEST_GUILESS_MAIN(TestDbCopy)
#include "tst_dbcopy.moc"
