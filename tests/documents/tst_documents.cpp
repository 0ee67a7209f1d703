// The printed documents read back from the PDF files that kultbuh-db writes (pdftotext): the statement's rows and
// totals against the statement run by `kultbuh-db query`, its pages and signatures; one pay slip per employee and the
// refused ones; the payroll chart; the organisation's details table; and the main window's "Документы" menu.

#include "Connection.h"
#include "Dialect.h"
#include "MainWindowProgram.h"
#include "OrganisationDetails.h"
#include "RussianFormat.h"
#include "Statements.h"

#include <QImage>
#include <QLocale>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QRegularExpression>

using namespace kbtest;
namespace documents = kb::documents;

namespace {

const documents::OrganisationDetails kDetails{QStringLiteral("МБУК «Дом культуры»"), QStringLiteral("Орлов П. С."),
                                              QStringLiteral("Зайцева Н. В.")};

QString runTool(const QStringList& args, int* code = nullptr, QString* err = nullptr) {
    QProcess tool;
    tool.start(QStringLiteral(KULTBUH_DB_PATH), args);
    tool.waitForFinished(60000);
    if (code)
        *code = tool.exitCode();
    if (err)
        *err = QString::fromUtf8(tool.readAllStandardError());
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// The PDF's text in its layout, no-break spaces read as blanks.
QString pdfText(const QString& pdf) {
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    reader.waitForFinished(60000);
    return QString::fromUtf8(reader.readAllStandardOutput()).replace(QChar(0x00A0), u' ');
}

QStringList fields(const QString& line) {
    return line.trimmed().split(QRegularExpression(QStringLiteral("\\s{2,}")), Qt::SkipEmptyParts);
}

// A connection as the program opens it (the dialect gives the Russian collation the tables use).
std::unique_ptr<kb::sql::Connection> open(const QString& file) {
    auto connection = std::make_unique<kb::sql::Connection>(file);
    kb::dialect::install(*connection);
    return connection;
}

QString money(qint64 kopecks) {
    return QLocale(QLocale::Russian, QLocale::Russia).toString(kopecks / 100.0, 'f', 2).replace(QChar(0x00A0), u' ');
}

// The month's statement as `kultbuh-db query` gives it, each value printed as the test expects it on paper, and the
// column sums of the printed amounts.
struct Expected {
    QList<QStringList> rows;
    QStringList totals{QStringLiteral("Итого")};
};
Expected expectedStatement(const QString& file, const QString& month) {
    QStringList args{QStringLiteral("query"), file};
    for (const char* name : {"D1", "D2", "D3", "D4"})
        args << QStringLiteral("--param") << QStringLiteral("%1=datetime:%2-01 12:00:00").arg(name, month);
    const QStringList lines = runTool(args << QStringLiteral("--") << kb::reports::salaryStatementSql())
                                  .split(u'\n', Qt::SkipEmptyParts)
                                  .mid(1);
    Expected expected;
    std::vector<qint64> sums(10, 0);
    for (const QString& line : lines) {
        const QStringList values = line.split(u'\t');
        QStringList row{values.at(0), values.at(1), values.at(2)};
        row[1] = money(qRound64(values.at(1).toDouble() * 100));
        for (int c = 1; c < 10; ++c) {
            sums[size_t(c)] += c == 2 ? 0 : qRound64(values.at(c).toDouble() * 100);
            if (c > 2)
                row << money(qRound64(values.at(c).toDouble() * 100));
        }
        expected.rows << row;
    }
    for (int c = 1; c < 10; ++c)
        if (c != 2)
            expected.totals << money(sums[size_t(c)]);
    return expected;
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString demo;                         // the demo department with the organisation's details
    std::unique_ptr<TempDatabase> server; // the same copied onto the test server (its details changed last)

    // A copy of the demo database changed by the statements in setup.
    QString demoWith(const QString& setup) {
        const QString copy = dir.filePath(QStringLiteral("copy-%1.mdb").arg(QTest::currentDataTag()));
        QFile::remove(copy);
        QFile::copy(demo, copy);
        if (!setup.isEmpty())
            open(copy)->execute(setup);
        return copy;
    }
    QString pdf(const QString& command, const QString& file, const QString& month) {
        const QString out = dir.filePath(QStringLiteral("%1-%2.pdf").arg(command, QTest::currentDataTag()));
        QFile::remove(out);
        int code = -1;
        runTool({command, file, month, out}, &code);
        return code == 0 ? pdfText(out) : QString();
    }

private slots:
    void initTestCase() {
        demo = dir.filePath(QStringLiteral("demo.mdb"));
        runTool({QStringLiteral("demo"), demo});
        documents::saveDetails(*open(demo), kDetails);
        server = std::make_unique<TempDatabase>(TempDatabase::Content::Empty, QString(), Engine::Server);
        server->closeConnection();
        runTool({QStringLiteral("copy"), demo, server->path()}); // into a database without tables
    }

    // Kopecks by the decimal form of the amount, halves away from zero; Russian grouping and decimal comma.
    void amounts_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("printed");
        QTest::newRow("half up") << 0.125 << "0,13";
        QTest::newRow("half of a negative") << -0.125 << "-0,13";
        QTest::newRow("a double just under its decimal") << 12345 * 0.12 << "1 481,40";
        QTest::newRow("a half just under its decimal") << 10933.375 * 0.12 << "1 312,01";
        QTest::newRow("millions") << 1234567.891 << "1 234 567,89";
    }
    void amounts() {
        QFETCH(double, amount);
        QFETCH(QString, printed);
        QCOMPARE(documents::formatKopecks(documents::kopecks(amount)).replace(QChar(0x00A0), u' '), printed);
    }

    // Every row in the statement's order, the totals of the printed amounts, "Лист N из M" and the title row on every
    // page, the organisation and the signatures.
    void statement_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("month");
        QTest::newRow("April") << QString() << "2013-04";
        QTest::newRow("ninety more, several pages")
            << "INSERT INTO Sotr (FIO) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 90) "
               "SELECT 'Сотрудник ' || printf('%03d', i) FROM n;"
               "INSERT INTO Stavka (IDSotr, Sum) SELECT ID, 10000 + ID * 37.335 FROM Sotr WHERE FIO GLOB 'Сотрудник *';"
               "INSERT INTO Premia (IDSotr, Data, Premia) SELECT ID, '2013-04-05 00:00:00', '12,5' FROM Sotr "
               "WHERE FIO GLOB 'Сотрудник *';"
               "INSERT INTO OtrChas (IDSotr, Count, Data) SELECT ID, ID % 23, '2013-04-05 00:00:00' FROM Sotr "
               "WHERE FIO GLOB 'Сотрудник *';"
            << "2013-04";
        QTest::newRow("empty month") << QString() << "2020-01";
    }
    void statement() {
        QFETCH(QString, month);
        QFETCH(QString, setup);
        const QString file = demoWith(setup);
        const Expected expected = expectedStatement(file, month);
        const QString text = pdf(QStringLiteral("statement"), file, month);
        if (setup.isEmpty()) // the same from the server, to the letter
            QCOMPARE(pdf(QStringLiteral("statement"), server->path(), month), text);
        const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
        QVERIFY(text.contains(kDetails.name));
        QVERIFY(text.contains(
            QStringLiteral("Расчётная ведомость за %1 г.").arg(month == "2013-04" ? "апрель 2013" : "январь 2020")));
        QList<QStringList> rows;
        QStringList totals;
        for (const QString& line : text.split(u'\n')) {
            const QStringList cells = fields(line);
            if (cells.value(0) == QStringLiteral("Итого"))
                totals = cells;
            else if (cells.size() == 10 && cells.at(0) != QStringLiteral("ФИО"))
                rows << cells;
        }
        QCOMPARE(rows, expected.rows);
        QCOMPARE(totals, expected.totals);
        QCOMPARE(text.contains(QStringLiteral("нет строк")), expected.rows.isEmpty());
        QCOMPARE(pages.size() > 1, expected.rows.size() > 50);
        for (int page = 0; page < pages.size(); ++page) {
            QVERIFY(pages.at(page).contains(QStringLiteral("Лист %1 из %2").arg(page + 1).arg(pages.size())));
            QVERIFY(pages.at(page).contains(QRegularExpression(QStringLiteral("ФИО\\s+Оклад\\s+Отр. дни\\s+Нач. по "
                                                                              "окл.\\s+Подоходный.*К выдаче"))));
        }
        QVERIFY(pages.last().contains(QRegularExpression(QStringLiteral("Руководитель\\s+_+\\s+Орлов П. С."))));
        QVERIFY(pages.last().contains(QRegularExpression(QStringLiteral("Главный бухгалтер\\s+_+\\s+Зайцева Н. В."))));
    }

    // One slip per statement row; an employee whose figures cannot be made is listed with the reason on the last page
    // and the others still print.
    void paySlips_data() {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("reason");
        const QString bonus = QStringLiteral("UPDATE Premia SET Premia = %1 WHERE Data GLOB '2013-04*' AND IDSotr = "
                                             "(SELECT ID FROM Sotr WHERE FIO = 'Иванов Иван Иванович')");
        bothRow("every employee", QString(), "2013-04", QString(), QString());
        newEngineRow(Engine::File, "bonus not a number") << bonus.arg("'десять'") << "2013-04"
                                                         << "Иванов Иван Иванович"
                                                         << "десять";
        newEngineRow(Engine::File, "bonus missing") << bonus.arg("NULL") << "2013-04"
                                                    << "Иванов Иван Иванович"
                                                    << "Премия";
        fileRow("empty month", QString(), "2020-01", QString(), QString());
    }
    void paySlips() {
        QFETCH(Engine, engine);
        QFETCH(QString, month);
        QFETCH(QString, refused);
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        const QString text =
            pdf(QStringLiteral("payslips"), engine == Engine::Server ? server->path() : demoWith(setup), month);
        QStringList names;
        for (const QStringList& row : expectedStatement(demo, month).rows)
            if (row.at(0) != refused)
                names << row.at(0);
        const QString slipsPart = refused.isEmpty() ? text : text.section(u'\f', 0, -3);
        QCOMPARE(slipsPart.count(QStringLiteral("Расчётный лист за")), names.size());
        for (const QString& name : names)
            QVERIFY2(slipsPart.contains(name), qPrintable(name));
        QVERIFY(!slipsPart.contains(refused) || refused.isEmpty());
        const QString last = text.section(u'\f', -2, -2);
        QCOMPARE(last.contains(QStringLiteral("Не составлены расчётные листы")), !refused.isEmpty());
        QVERIFY(last.contains(refused) && last.contains(reason));
        if (names.contains(QStringLiteral("Сидорова Анна Павловна"))) // 12 345 with 20 %: the pay slip file's figures
            QVERIFY(text.contains(QRegularExpression(QStringLiteral(
                "Оклад\\s+12 345\\b.*\\n.*Премия\\s+2 469\\b.*\\n.*Итого\\s+14 814\\b.*\\n.*подоходный налог\\s+1 "
                "481\\b.*\\n.*пенсионный налог\\s+123\\b.*\\n.*Итого к выдаче\\s+13 209\\b"))));
        QCOMPARE(text.contains(QStringLiteral("нет ни одного сотрудника")), names.isEmpty());
    }

    // The year's chart: a month's figures are its statement's totals, a year without data says so for every month;
    // also as a picture. An existing file is never replaced.
    void payrollChart() {
        const Expected april = expectedStatement(demo, QStringLiteral("2013-04"));
        const QStringList lines = pdf(QStringLiteral("payroll-chart"), demo, QStringLiteral("2013")).split(u'\n');
        const auto row = [&](const QString& title) { // the table's row, under the chart's legend
            QStringList found;
            for (const QString& line : lines)
                if (fields(line).value(0) == title)
                    found = fields(line);
            return found;
        };
        QCOMPARE(row(QStringLiteral("Нач. по окл.")).value(4), april.totals.at(2));
        QCOMPARE(row(QStringLiteral("К выдаче")).value(4), april.totals.at(8));
        QCOMPARE(pdf(QStringLiteral("payroll-chart"), server->path(), QStringLiteral("2013")).split(u'\n'), lines);
        QCOMPARE(pdf(QStringLiteral("payroll-chart"), demo, QStringLiteral("2015")).count(QStringLiteral("нет данных")),
                 24);
        const QString png = dir.filePath(QStringLiteral("chart.png"));
        runTool({QStringLiteral("payroll-chart"), demo, QStringLiteral("2013"), png});
        QCOMPARE(QImage(png).size(), QSize(1400, 800));
        int code = 0;
        QString err;
        runTool({QStringLiteral("payroll-chart"), demo, QStringLiteral("2014"), png}, &code, &err);
        QCOMPARE(code, 1);
        QVERIFY(err.contains(QStringLiteral("уже существует")));
        QCOMPARE(QImage(png).size(), QSize(1400, 800)); // the 2013 picture as it was
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral(".*.part")}, QDir::Hidden | QDir::Files).size(), 0);
    }

    // The details table: one row however often saved, on a server by a role with rights on the rows only (the tool
    // makes the table); check and backup take the database, the backup carries them; a database without the table
    // (a new file, a server's made before the table) has empty details and passes the check.
    void detailsTable_data() {
        QTest::addColumn<Engine>("engine");
        bothRow("details");
    }
    void detailsTable() {
        QFETCH(Engine, engine);
        const bool own = engine == Engine::Server; // the role stays with the test server's cluster, removed with it
        const QString file = own ? server->path() : demoWith(QString());
        const QString role = QStringLiteral("kbt_rows_%1").arg(QCoreApplication::applicationPid());
        if (own)
            server->connection().execute(QStringLiteral("CREATE ROLE %1 LOGIN; GRANT SELECT, INSERT, UPDATE, DELETE "
                                                        "ON ALL TABLES IN SCHEMA public TO %1")
                                             .arg(role));
        const auto connection = open(QString(file).replace(QStringLiteral("user=postgres"), "user=" + role));
        QCOMPARE(documents::loadDetails(*connection), kDetails);
        const documents::OrganisationDetails changed{QStringLiteral("ЦКС"), QStringLiteral("Б"), QStringLiteral("В")};
        QCOMPARE(errorMessage([&] { documents::saveDetails(*connection, changed); }), QString());
        QCOMPARE(errorMessage([&] { documents::saveDetails(*connection, changed); }), QString());
        QCOMPARE(documents::loadDetails(*open(file)), changed);
        QCOMPARE(connection->prepareNative(QStringLiteral("SELECT count(*) FROM Rekvizity")).fetchAll().at(0).at(0),
                 kb::sql::Value(1));
        QCOMPARE(runTool({QStringLiteral("check"), file}), QStringLiteral("OK\n"));
        const QString backup = dir.filePath(QStringLiteral("backup-%1.mdb").arg(QTest::currentDataTag()));
        runTool({QStringLiteral("backup"), file, backup});
        QCOMPARE(documents::loadDetails(*open(backup)), changed);
        const std::unique_ptr<TempDatabase> schemaOnly = own ? std::make_unique<TempDatabase>(engine) : nullptr;
        const QString bare = schemaOnly ? schemaOnly->path() : dir.filePath(QStringLiteral("bare.mdb"));
        runTool({QStringLiteral("create"), bare}); // on the server refused: it has the tables
        QCOMPARE(runTool({QStringLiteral("check"), bare}), QStringLiteral("OK\n"));
        QVERIFY(documents::loadDetails(*open(bare)).name.isEmpty());
    }

    // The menu at the right end of the bar; each document opens in the print preview, whose "Сохранить в PDF…"
    // writes the file; the details form stores what it holds.
    void documentsMenu_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("content");
        QTest::newRow("statement") << "StatementDoc1"
                                   << "Расчётная ведомость за апрель 2013 г."
                                   << "Расчётная ведомость за апрель 2013 г.";
        QTest::newRow("pay slips") << "PaySlipsDoc1"
                                   << "Расчётные листы за апрель 2013 г."
                                   << "Расчётный лист за апрель 2013 г.";
        QTest::newRow("chart") << "PayrollChart1"
                               << "Фонд оплаты труда за 2013 год"
                               << "Фонд оплаты труда за 2013 год";
        QTest::newRow("details") << "OrgDetails1"
                                 << "Реквизиты организации" << QString();
    }
    void documentsMenu() {
        QFETCH(QString, item);
        QFETCH(QString, title);
        QFETCH(QString, content);
        MainWindowProgram program;
        const QList<QAction*> bar = program.window.menuBar()->actions();
        QCOMPARE(bar.size(), 5);
        QCOMPARE(bar.at(3)->objectName(), QStringLiteral("N8"));
        QCOMPARE(bar.at(4)->menu()->objectName(), QStringLiteral("Documents1"));
        QStringList captions;
        for (const QAction* action : bar.at(4)->menu()->actions())
            captions << action->text();
        QCOMPARE(captions, QStringList({"Ведомость за месяц…", "Расчётные листы за месяц…", "Фонд оплаты труда за год…",
                                        "Реквизиты организации…"}));
        const QString saved = program.db.filePath(QStringLiteral("saved.pdf"));
        program.dialogs->answerSaveFileName(saved);
        program.dialogs->scriptDialog([&](QDialog& dialog) {
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog))
                preview->findChild<QAction*>(QStringLiteral("SavePdfAction"))->trigger();
            for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
                edit->setText(edit->objectName());
            return int(QDialog::Accepted);
        });
        program.window.findChild<QAction*>(item)->trigger();
        QCOMPARE(program.dialogs->calls().at(0).caption, title);
        const bool details = item == QLatin1String("OrgDetails1");
        QCOMPARE(program.dialogs->calls().size(), details ? 1 : 2);
        if (details)
            QCOMPARE(documents::loadDetails(program.db.connection()).chiefAccountant, QStringLiteral("AccountantEdit"));
        else
            QVERIFY(pdfText(saved).contains(content));
        QCOMPARE(program.window.resultGrid->model()->columnCount(), 0); // the grid is left as it was
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
