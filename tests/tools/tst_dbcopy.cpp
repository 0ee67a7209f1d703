// kultbuh-db copy in-process: the demo department with gaps in its IDs and values of every kind, and the refusals.

#include "DatabaseCopy.h"
#include "DatabaseName.h"
#include "DateTimeText.h"
#include "DbTool.h"
#include "DemoDatabase.h"
#include "Statements.h"
#include "TestRows.h"
#include "TestSupport.h"

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
    // target "new": a file made by the copy; "exists": a file there already; otherwise an existing database with the
    // schema, changed by the target's SQL, filled by copyDatabase. A refusal leaves the target as it was.
    void copy_data() {
        columns<QString, QString, QString>("from", "target", "error");
        row("into a new file", "demo.db", "new", "");
        row("over an existing file", "demo.db", "exists", "уже существует");
        row("from a missing file", "none.db", "new", "не найден: ");
        row("into a database with rows", "demo.db", "INSERT INTO OtrChas (Count) VALUES (1)", "в таблице OtrChas");
        row("a copy that differs", "demo.db",
            "CREATE TRIGGER t AFTER INSERT ON Premia BEGIN UPDATE Premia SET Premia = '' WHERE ID = 9; END",
            "таблица Premia, ID 9, поле Premia: в исходной \"1500\", в копии \"\"");
    }
    void copy() {
        const auto [from, target, error] = fetch<QString, QString, QString>("from", "target", "error");
        TempDatabase existing;
        const QString source = existing.filePath(from),
                      to = target == u"new" ? existing.filePath("to.db") : existing.path();
        kb::tools::createDemoDatabase(existing.filePath("demo.db"));
        kb::sql::Connection(existing.filePath("demo.db"))
            .execute("DELETE FROM Sotr WHERE ID IN (2, 12); DELETE FROM Dolznost WHERE ID = 9; DELETE FROM Premia "
                     "WHERE ID BETWEEN 3 AND 7; UPDATE Premia SET Premia = '1500' WHERE ID = 9; INSERT INTO Sotr "
                     "(FIO, DataR, Adres) VALUES ('Ёжиков\tЁ', '1990-02-03 04:05:06', NULL); INSERT INTO Stavka "
                     "(IDSotr, Sum) VALUES (13, 1234.56)");
        const bool tool = target == u"new" || target == u"exists";
        if (!tool)
            existing.exec(target);
        const QString before = folderState(existing.path());
        const QString result =
            tool ? run({"copy", source, to})
                 : "error 1: " + errorMessage([&] {
                       kb::sql::Connection sourceConnection(source, kb::sql::Connection::Mode::ReadOnly);
                       kb::dataset::copyDatabase(sourceConnection, existing.connection());
                   });
        QVERIFY2(error.isEmpty() ? !result.startsWith("error")
                                 : result.startsWith("error 1: ") && result.contains(error),
                 qPrintable(result));
        if (!error.isEmpty()) {
            QCOMPARE(folderState(existing.path()), before);
            QCOMPARE(existing.count("Sotr") + existing.count("Premia") + existing.count("OtrChas"),
                     qint64(target.startsWith("INSERT")));
            return;
        }
        QCOMPARE(result.split('\n').at(3), QStringLiteral("Premia: скопировано строк: 283"));
        std::vector<kb::dataset::QueryRequest> requests{
            kb::reports::employeeList(), kb::reports::salaryStatement(kb::sql::datetime::make(2013, 4, 1)),
            kb::reports::salaryStatement(kb::sql::datetime::make(2014, 12, 1))};
        for (const char* table : {"Sotr", "Dolznost", "Stavka", "Premia", "OtrChas"})
            requests.push_back({{QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table)}, {}});
        for (const kb::dataset::QueryRequest& request : requests)
            QCOMPARE(query(to, request), query(source, request));
        QVERIFY(query(to, requests[3]).contains("13\tЁжиков\\tЁ\t1990-02-03 04:05:06\tNULL\tNULL"));
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
