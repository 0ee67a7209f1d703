// kultbuh-db run in-process on real files: create, demo, check and query.

#include "Connection.h"
#include "DbTool.h"
#include "Dialect.h"
#include "Query.h"
#include "QueryCommand.h"
#include "StatementFixtures.h"
#include "Statements.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <charconv>
#include <sstream>

namespace {

struct ToolResult {
    int code;
    QString out;
    QString err;
};

ToolResult runTool(const QStringList& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = kb::tools::run(args, out, err);
    return {code, QString::fromStdString(out.str()), QString::fromStdString(err.str())};
}

// The lines of an output without the final line break.
QStringList outputLines(const QString& out) {
    QStringList lines = out.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList salaryArgs(const QString& file, const QString& month) {
    QStringList args{QStringLiteral("query"), file};
    for (const char* name : {"D1", "D2", "D3", "D4"})
        args << QStringLiteral("--param") << QStringLiteral("%1=datetime:%2").arg(QLatin1String(name), month);
    args << QStringLiteral("--") << kb::reports::salaryStatementSql();
    return args;
}

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& file, const QByteArray& bytes, qint64 at = 0) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.seek(at));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

} // namespace

class TestDbTool : public QObject {
    Q_OBJECT

private slots:
    void init();
    void createMakesCheckedDatabase();
    void createRefusesExistingFile();
    void createInMissingFolderFails();
    void demoIsCompleteAndChecked();
    void demoIsDeterministic();
    void check_data();
    void check();
    void queryFormat_data();
    void queryFormat();
    void queryDoublesReadBack_data();
    void queryDoublesReadBack();
    void queryParams_data();
    void queryParams();
    void queryLinesAreJoinedByLineBreaks();
    void queryErrors_data();
    void queryErrors();
    void usageErrors_data();
    void usageErrors();
    void executable();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name) const { return dir_->filePath(name); }
};

void TestDbTool::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestDbTool::createMakesCheckedDatabase() {
    const QString file = path(QStringLiteral("new.mdb"));
    const ToolResult made = runTool({QStringLiteral("create"), file});
    QCOMPARE(made.code, 0);
    QVERIFY(made.err.isEmpty());
    const ToolResult checked = runTool({QStringLiteral("check"), file});
    QCOMPARE(checked.code, 0);
    QCOMPARE(checked.out, QStringLiteral("OK\n"));
    const ToolResult rows = runTool({QStringLiteral("query"), file, QStringLiteral("SELECT COUNT(*) FROM Sotr")});
    QCOMPARE(rows.code, 0);
    QCOMPARE(outputLines(rows.out).value(1), QStringLiteral("0"));
}

void TestDbTool::createRefusesExistingFile() {
    for (const QString& command : {QStringLiteral("create"), QStringLiteral("demo")}) {
        const QString file = path(QStringLiteral("keep.mdb"));
        writeAll(file, "precious");
        const ToolResult result = runTool({command, file});
        QCOMPARE(result.code, 1);
        QVERIFY(result.err.contains(file));
        QCOMPARE(readAll(file), QByteArray("precious"));
    }
}

void TestDbTool::createInMissingFolderFails() {
    const QString file = path(QStringLiteral("no/such/folder/new.mdb"));
    const ToolResult result = runTool({QStringLiteral("demo"), file});
    QCOMPARE(result.code, 1);
    QVERIFY(!result.err.isEmpty());
    QVERIFY(!QFile::exists(file));
}

void TestDbTool::demoIsCompleteAndChecked() {
    const QString file = path(QStringLiteral("demo.mdb"));
    QCOMPARE(runTool({QStringLiteral("demo"), file}).code, 0);
    const ToolResult checked = runTool({QStringLiteral("check"), file});
    QCOMPARE(checked.out, QStringLiteral("OK\n"));

    kb::Connection connection(file);
    kb::dialect::install(connection);
    kb::Query query(connection);
    const auto scalar = [&query](const QString& sql) {
        query.close();
        query.sql().clear();
        query.sql().add(sql);
        query.open();
        return query.value(0, 0).toInt();
    };
    const qint64 employees = scalar(QStringLiteral("SELECT COUNT(*) FROM Sotr"));
    QVERIFY(employees >= 10);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM Sotr WHERE FIO IS NULL OR DataR IS NULL OR Adres IS NULL OR "
                                   "Telefon IS NULL OR Passport IS NULL OR INN IS NULL")),
             0);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM Sotr WHERE length(INN) <> 12 OR length(Passport) <> 11 OR "
                                   "length(Telefon) <> 13 OR substr(Telefon, 1, 1) <> '('")),
             0);
    QVERIFY(scalar(QStringLiteral("SELECT COUNT(*) FROM Dolznost")) >= 7);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM Sotr WHERE IDDolznost NOT IN (SELECT ID FROM Dolznost)")), 0);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM Stavka")), employees + 1);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM Premia")), employees * 24);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM OtrChas WHERE Count BETWEEN 15 AND 23")), employees * 24);
    QVERIFY(scalar(QStringLiteral("SELECT COUNT(*) FROM Premia WHERE Premia LIKE '%,%'")) > 0);

    // Every month of both years lists every employee, the one with two rates twice.
    QSet<QString> everyone;
    for (const QString& line :
         outputLines(runTool({QStringLiteral("query"), file, QStringLiteral("SELECT FIO FROM Sotr")}).out).mid(1))
        everyone << line;
    QCOMPARE(everyone.size(), int(employees));
    for (int year = 2013; year <= 2014; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const QString picker = QStringLiteral("%1-%2-15 09:00:00").arg(year).arg(month, 2, 10, QLatin1Char('0'));
            const ToolResult result = runTool(salaryArgs(file, picker));
            QVERIFY2(result.code == 0, qPrintable(result.err));
            const QStringList lines = outputLines(result.out).mid(1);
            QCOMPARE(lines.size(), int(employees) + 1);
            QSet<QString> listed;
            for (const QString& line : lines)
                listed << line.section(QLatin1Char('\t'), 0, 0);
            QCOMPARE(listed, everyone);
        }
    }
}

void TestDbTool::demoIsDeterministic() {
    const QString a = path(QStringLiteral("a.mdb"));
    const QString b = path(QStringLiteral("b.mdb"));
    QCOMPARE(runTool({QStringLiteral("demo"), a}).code, 0);
    QCOMPARE(runTool({QStringLiteral("demo"), b}).code, 0);
    for (const char* table : {"Sotr", "Dolznost", "Stavka", "Premia", "OtrChas"}) {
        const QString sql = QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(QLatin1String(table));
        const ToolResult ra = runTool({QStringLiteral("query"), a, sql});
        const ToolResult rb = runTool({QStringLiteral("query"), b, sql});
        QCOMPARE(ra.code, 0);
        QVERIFY(outputLines(ra.out).size() > 1);
        QCOMPARE(ra.out, rb.out);
    }
}

void TestDbTool::check_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing table") << "DROP TABLE OtrChas"
                                   << "OtrChas";
    QTest::newRow("missing field") << "ALTER TABLE Sotr DROP COLUMN Passport"
                                   << "Sotr.Passport";
    QTest::newRow("text where a number belongs")
        << "DROP TABLE Stavka; CREATE TABLE Stavka (ID INTEGER PRIMARY KEY AUTOINCREMENT, IDSotr INTEGER, Sum TEXT)"
        << "Stavka.Sum";
    QTest::newRow("number where a date belongs")
        << "DROP TABLE Premia; CREATE TABLE Premia (ID INTEGER PRIMARY KEY AUTOINCREMENT, IDSotr INTEGER, Data "
           "INTEGER, Premia TEXT)"
        << "Premia.Data";
    QTest::newRow("not a database") << ""
                                    << "";
    QTest::newRow("damaged header") << ""
                                    << "";
    QTest::newRow("damaged pages") << ""
                                   << "";
    QTest::newRow("missing file") << ""
                                  << "";
}

void TestDbTool::check() {
    QFETCH(QString, damage);
    QFETCH(QString, reason);
    const QString file = path(QStringLiteral("checked.mdb"));
    const QByteArray tag = QTest::currentDataTag();
    if (tag == "not a database") {
        writeAll(file, QByteArray("Это не база данных, а просто текст.\n").repeated(200));
    } else if (tag != "missing file") {
        QCOMPARE(runTool({QStringLiteral("demo"), file}).code, 0);
        if (!damage.isEmpty()) {
            kb::Connection connection(file);
            connection.execute(damage);
        } else if (tag == "damaged header") {
            writeAll(file, QByteArray(16, 'x'));
        } else if (tag == "damaged pages") {
            const qint64 size = QFileInfo(file).size();
            QVERIFY(size > 4 * 4096);
            writeAll(file, QByteArray(int(size - 2 * 4096), char(0x5a)), 4096);
        }
    }
    const ToolResult result = runTool({QStringLiteral("check"), file});
    QCOMPARE(result.code, 1);
    QVERIFY(result.out.isEmpty());
    QVERIFY(!result.err.isEmpty());
    QVERIFY2(result.err.contains(reason), qPrintable(result.err));
}

void TestDbTool::queryFormat_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integers and text") << "SELECT 42 AS n, -7 AS m, 'слово' AS t"
                                       << "n\tm\tt\n42\t-7\tслово\n";
    QTest::newRow("escapes") << "SELECT 'a' || char(9) || 'b' || char(10) || 'c\\d' || char(13) AS t"
                             << "t\na\\tb\\nc\\\\d\\r\n";
    QTest::newRow("null") << "SELECT NULL AS x, '' AS e, 'NULL' AS s"
                          << "x\te\ts\nNULL\t\tNULL\n";
    QTest::newRow("escaped field name") << "SELECT 1 AS \"a\tb\""
                                        << "a\\tb\n1\n";
    QTest::newRow("whole double") << "SELECT 5000.0 AS d"
                                  << "d\n5000\n";
    QTest::newRow("no rows") << "SELECT ID, FIO FROM Sotr WHERE ID < 0"
                             << "ID\tFIO\n";
    QTest::newRow("stored date-time") << "SELECT Data FROM Premia WHERE ID = 1"
                                      << "Data\n2013-04-30 23:59:59\n";
    QTest::newRow("table rows") << "SELECT ID, FIO, DataR FROM Sotr ORDER BY ID"
                                << "ID\tFIO\tDataR\n1\tТаб\\tуляция\\nи\\\\черта\tNULL\n";
}

void TestDbTool::queryFormat() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    kbtest::StatementDb db;
    db.addSotr(QStringLiteral("Таб\tуляция\nи\\черта"), kb::Value());
    db.addPremia(1, kbtest::at(2013, 4, 30, 23, 59, 59), QStringLiteral("10"));
    const ToolResult result = runTool({QStringLiteral("query"), db.path(), sql});
    QVERIFY2(result.code == 0, qPrintable(result.err));
    QCOMPARE(result.out, expected);
}

void TestDbTool::queryDoublesReadBack_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.1 + 0.2") << "0.1 + 0.2" << 0.1 + 0.2 << "0.30000000000000004";
    QTest::newRow("a third") << "1.0 / 3" << 1.0 / 3 << "0.3333333333333333";
    QTest::newRow("tax of 12345") << "12345 * 0.12" << 12345 * 0.12 << "1481.3999999999999";
    QTest::newRow("pension of 12345") << "12345 * 0.01" << 12345 * 0.01 << "123.45";
    QTest::newRow("negative") << "-2.5" << -2.5 << "-2.5";
    QTest::newRow("large") << "1e300 * 3" << 3e300 << "3e+300";
    QTest::newRow("small") << "1.0 / 1e10" << 1e-10 << "1e-10";
}

void TestDbTool::queryDoublesReadBack() {
    QFETCH(QString, expression);
    QFETCH(double, value);
    QFETCH(QString, text);
    kbtest::StatementDb db;
    const ToolResult result = runTool({QStringLiteral("query"), db.path(), QStringLiteral("SELECT ") + expression});
    QCOMPARE(result.code, 0);
    const QString printed = outputLines(result.out).value(1);
    QCOMPARE(printed, text);
    const std::string utf8 = printed.toStdString();
    double back = 0;
    std::from_chars(utf8.data(), utf8.data() + utf8.size(), back);
    QCOMPARE(back, value);
}

void TestDbTool::queryParams_data() {
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("row");
    QTest::newRow("integer") << QStringList{"N=int:41"} << "SELECT :N + 1"
                             << "42";
    QTest::newRow("float") << QStringList{"F=float:2.25"} << "SELECT :F * 2"
                           << "4.5";
    QTest::newRow("text with colon and blanks") << QStringList{"T=text: a:b "} << "SELECT :T"
                                                << " a:b ";
    QTest::newRow("empty text") << QStringList{"T=text:"} << "SELECT length(:T)"
                                << "0";
    QTest::newRow("name with colon") << QStringList{":N=int:5"} << "SELECT :N"
                                     << "5";
    QTest::newRow("datetime month and year")
        << QStringList{"D1=datetime:2013-04-30 23:59:59", "D2=datetime:2013-04-30 23:59:59"}
        << "SELECT Month(:D1), Year(:D2)"
        << "4\t2013";
    QTest::newRow("datetime picks rows") << QStringList{"D1=datetime:2013-04-01 00:00:00"}
                                         << "SELECT COUNT(*) FROM Premia WHERE Month(Data) = Month(:D1)"
                                         << "1";
}

void TestDbTool::queryParams() {
    QFETCH(QStringList, params);
    QFETCH(QString, sql);
    QFETCH(QString, row);
    kbtest::StatementDb db;
    const qint64 id = db.addSotr(QStringLiteral("Иванов"), kb::Value());
    db.addPremia(id, kbtest::at(2013, 4, 30, 23, 59, 59), QStringLiteral("10"));
    db.addPremia(id, kbtest::at(2013, 5, 1), QStringLiteral("10"));
    QStringList args{QStringLiteral("query"), db.path()};
    for (const QString& p : params)
        args << QStringLiteral("--param") << p;
    args << sql;
    const ToolResult result = runTool(args);
    QVERIFY2(result.code == 0, qPrintable(result.err));
    QCOMPARE(outputLines(result.out).value(1), row);
}

void TestDbTool::queryLinesAreJoinedByLineBreaks() {
    kbtest::StatementDb db;
    // The comment ends at the line break, so the second line still counts.
    const ToolResult result = runTool({QStringLiteral("query"), db.path(), QStringLiteral("--"),
                                       QStringLiteral("SELECT 1 -- one"), QStringLiteral("+ 1 AS two")});
    QVERIFY2(result.code == 0, qPrintable(result.err));
    QCOMPARE(result.out, QStringLiteral("two\n2\n"));
}

void TestDbTool::queryErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("syntax error") << QStringList{"SELEC 1"} << "";
    QTest::newRow("unknown table") << QStringList{"SELECT * FROM Nichto"} << "Nichto";
    QTest::newRow("unknown parameter") << QStringList{"--param", "X=int:1", "SELECT :Y"} << "X";
    QTest::newRow("bonus no number") << QStringList{"SELECT Premia.Premia * 2 FROM Premia"} << "abc";
}

void TestDbTool::queryErrors() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    kbtest::StatementDb db;
    db.addPremia(1, kbtest::at(2013, 4, 1), QStringLiteral("abc"));
    const ToolResult result = runTool(QStringList{QStringLiteral("query"), db.path()} + args);
    QCOMPARE(result.code, 1);
    QVERIFY(result.out.isEmpty());
    QVERIFY(!result.err.isEmpty());
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(!result.err.contains(QString::fromUtf8(kb::tools::usage())));
}

void TestDbTool::usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"drop", "x.mdb"};
    QTest::newRow("create without file") << QStringList{"create"};
    QTest::newRow("check with two files") << QStringList{"check", "a.mdb", "b.mdb"};
    QTest::newRow("query without lines") << QStringList{"query", "x.mdb"};
    QTest::newRow("query without file") << QStringList{"query"};
    QTest::newRow("param last") << QStringList{"query", "x.mdb", "--param"};
    QTest::newRow("param without kind") << QStringList{"query", "x.mdb", "--param", "N=5", "SELECT :N"};
    QTest::newRow("unknown kind") << QStringList{"query", "x.mdb", "--param", "N=blob:5", "SELECT :N"};
    QTest::newRow("bad integer") << QStringList{"query", "x.mdb", "--param", "N=int:5x", "SELECT :N"};
    QTest::newRow("bad float") << QStringList{"query", "x.mdb", "--param", "N=float:2,5", "SELECT :N"};
    QTest::newRow("bad datetime") << QStringList{"query", "x.mdb", "--param", "D=datetime:15.04.2013", "SELECT :D"};
    QTest::newRow("unknown option") << QStringList{"query", "x.mdb", "--verbose", "SELECT 1"};
}

void TestDbTool::usageErrors() {
    QFETCH(QStringList, args);
    const ToolResult result = runTool(args);
    QCOMPARE(result.code, 2);
    QVERIFY(result.out.isEmpty());
    QVERIFY(result.err.contains(QString::fromUtf8(kb::tools::usage())));
    QVERIFY(result.err.size() > int(QString::fromUtf8(kb::tools::usage()).size()));
}

void TestDbTool::executable() {
    const QString file = path(QStringLiteral("BAZA.mdb"));
    QProcess tool;
    tool.start(QStringLiteral(KULTBUH_DB_PATH), {QStringLiteral("demo"), file});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    tool.start(QStringLiteral(KULTBUH_DB_PATH), salaryArgs(file, QStringLiteral("2013-04-15 00:00:00")));
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    QVERIFY(out.contains(QStringLiteral("Ёлкина Ольга Николаевна\t")));
    tool.start(QStringLiteral(KULTBUH_DB_PATH), {QStringLiteral("check")});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 2);
    QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains(QStringLiteral("Использование")));
}

QTEST_GUILESS_MAIN(TestDbTool)
#include "tst_dbtool.moc"
