// Our spreadsheet server: how it reads cell references, what the workbook it
// writes holds when read back by another program, where it puts the file and
// what it prints.

#include "CellRef.h"
#include "Dispatch.h"
#include "ExportFixture.h"
#include "ExportToExcel.h"
#include "SpreadsheetServer.h"
#include "Statements.h"
#include "TestRows.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QtTest>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kbtest;
using kb::automation::AutoValue;
using namespace Qt::StringLiterals;
namespace reports = kb::reports;
namespace spreadsheet = kb::spreadsheet;

namespace {

// Runs a program and gives what it printed; fails the test when it fails.
QStringList outputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QStringList dumpOf(const QString& xlsx) {
    return outputOf(QStringLiteral("/usr/bin/python3"), {QStringLiteral(KB_DUMP_XLSX), xlsx});
}

QString pageText(const QString& pdf, int page) {
    const QString n = QString::number(page);
    return outputOf(QStringLiteral("pdftotext"),
                    {QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")})
        .join(u'\n');
}

// The desktop as the tests see it: workbooks go to a temporary folder, what
// would be opened or told is noted, and the printer writes a PDF file (none
// when pdf is empty).
struct Desktop {
    explicit Desktop(const QString& pdf = {}, bool canOpen = true) {
        seams.folder = folder.path();
        seams.openWorkbook = [this, canOpen](const QString& path) {
            opened << path;
            return canOpen;
        };
        seams.tell = [this](const QString& message) { told << message; };
        seams.defaultPrinter = [pdf]() -> std::unique_ptr<QPrinter> {
            if (pdf.isEmpty())
                return nullptr;
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return printer;
        };
        spreadsheet::registerSpreadsheetServer(registry, seams);
    }
    QTemporaryDir folder;
    spreadsheet::DesktopSeams seams;
    kb::automation::ClassRegistry registry;
    QStringList opened;
    QStringList told;
};

} // namespace

class TestSpreadsheet : public QObject {
    Q_OBJECT

private slots:
    void cellReferences_data() {
        // block: first row,column : last row,column, zero-based; empty when refused
        columns<QString, QString, QString>("text", "block", "lastName");
        const char* const valid[][3] = {
            {"j13", "12,9:12,9", "J13"},
            {"AZ10", "9,51:9,51", "AZ10"},
            {"A1:J13", "0,0:12,9", "J13"},
            {"J1:A13", "0,0:12,9", "J13"}, // corners in any order
            {"XFD1048576", "1048575,16383:1048575,16383", "XFD1048576"},
        };
        for (const auto& [text, block, lastName] : valid)
            row(text, text, block, lastName);
        for (const char* bad : {"", "1A", "A", "A0", "A01", "XFE1", "A1048577", "A1:", "A1B", "Б1", "A-1", "ABCD1"})
            row(bad, bad, QString(), QString());
    }
    void cellReferences() {
        const auto [text, block, lastName] = fetch<QString, QString, QString>("text", "block", "lastName");
        if (block.isEmpty()) {
            QVERIFY(errorMessage([&] { spreadsheet::parseBlock(text); }).startsWith(QStringLiteral("Неверная ссылка")));
            return;
        }
        const spreadsheet::Block b = spreadsheet::parseBlock(text);
        QCOMPARE(QStringLiteral("%1,%2:%3,%4").arg(b.first.row).arg(b.first.column).arg(b.last.row).arg(b.last.column),
                 block);
        QCOMPARE(spreadsheet::cellName(b.last), lastName);
    }

    // A statement exported and left open: one new file, values by type under
    // the titles, the block bordered and centred, the columns 25 wide.
    void exportedStatement() {
        ExportFixture f;
        f.show(reports::salaryStatement(at(2013, 4, 15)));
        Desktop desktop;
        reports::exportToExcel(desktop.registry, f.query, f.grid, false);
        QCOMPARE(desktop.opened, QStringList{QDir(desktop.folder.path()).filePath(QStringLiteral("Книга1.xlsx"))});
        const QStringList dump = dumpOf(desktop.opened.at(0));
        QCOMPARE(dump.size(), 1 + 10 + 10 + 2 * 10);
        QCOMPARE(dump.mid(0, 2) + dump.mid(10, 3) + dump.mid(20, 3) + dump.mid(34, 1) + dump.mid(40, 1),
                 (QStringList{
                     "sheet Лист1 default",
                     "width A 1 1 25.7109375",
                     "width J 10 10 25.7109375",
                     "A1 s 'ФИО' General medium medium center",
                     "B1 s 'Оклад' General medium medium center",
                     "J1 s 'К выдаче' General medium medium center",
                     "A2 s 'Иванов Иван Иванович' General medium medium center",
                     "B2 n 10000 General medium medium center",
                     "D3 n 1852 General medium medium center",
                     "J3 n 11974.65 General medium medium center",
                 }));
    }

    // Values written straight through the server: text stays text whatever
    // it starts with, a date-time keeps its time, null leaves the cell empty;
    // the orientation reaches the page setup. An unknown member is refused by name.
    void valuesAndPage() {
        Desktop desktop;
        {
            kb::automation::ObjectRef excel = desktop.registry.create(QStringLiteral("Excel.Application"));
            kb::automation::method(*kb::automation::read(*excel, QStringLiteral("Workbooks")), QStringLiteral("Add"));
            kb::automation::write(*excel, QStringLiteral("Visible"), AutoValue(true));
            const std::pair<const char*, AutoValue> cells[] = {
                {"A3", AutoValue(QStringLiteral("@ёЁ№"))},
                {"B1", AutoValue(at(2013, 4, 30, 23, 59, 59))},
                {"B2", AutoValue(at(1970, 5, 17))},
                {"B3", AutoValue(qint32(-7))},
                {"C1", AutoValue(12345.5)},
                {"C2", AutoValue(true)},
                {"C3", AutoValue::null()},
            };
            for (const auto& [cell, value] : cells)
                kb::automation::write(*excel, QStringLiteral("Range"), AutoValue(QString::fromLatin1(cell)), value);
            kb::automation::write(*kb::automation::read(*kb::automation::read(*excel, QStringLiteral("ActiveSheet")),
                                                        QStringLiteral("PageSetup")),
                                  QStringLiteral("Orientation"), AutoValue(qint32(2)));
            QCOMPARE(errorMessage([&] { kb::automation::read(*excel, QStringLiteral("Cells")); }),
                     QStringLiteral("Неизвестное имя: Cells"));
        }
        QCOMPARE(desktop.opened.size(), 1);
        QCOMPARE(dumpOf(desktop.opened.at(0)), (QStringList{
                                                   "sheet Лист1 landscape",
                                                   "B1 d '2013-04-30 23:59:59' dd.mm.yyyy hh:mm:ss None None None",
                                                   "C1 n 12345.5 General None None None",
                                                   "B2 d '1970-05-17 00:00:00' dd.mm.yyyy None None None",
                                                   "C2 b True General None None None",
                                                   "A3 s '@ёЁ№' General None None None",
                                                   "B3 n -7 General None None None",
                                               }));
    }

    // A workbook left open is written to a new file beside the ones there;
    // when nothing can open it the user is told where it is.
    void handOff_data() {
        columns<bool>("canOpen");
        row("opened", true);
        row("nothing opens it", false);
    }
    void handOff() {
        const auto [canOpen] = fetch<bool>("canOpen");
        ExportFixture f;
        f.show(reports::employeeList());
        Desktop desktop({}, canOpen);
        const QString earlier = QDir(desktop.folder.path()).filePath(QStringLiteral("Книга1.xlsx"));
        QVERIFY(writeFile(earlier, "earlier"));
        reports::exportToExcel(desktop.registry, f.query, f.grid, false);
        const QString path = QDir(desktop.folder.path()).filePath(QStringLiteral("Книга2.xlsx"));
        QCOMPARE(desktop.opened, QStringList{path});
        QCOMPARE(QFileInfo(earlier).size(), 7);
        QVERIFY(QFileInfo(path).size() > 0);
        QCOMPARE(desktop.told, canOpen
                                   ? QStringList{}
                                   : QStringList{QStringLiteral("Книга записана в файл \"%1\", но открыть её нечем: "
                                                                "программа для электронных таблиц не найдена.")
                                                     .arg(path)});
    }

    // Employees whose names a spreadsheet program would take for a formula or a character code, or that hold control
    // characters, are exported as text cells that read back unchanged.
    void formulaLikeNamesStayText() {
        ExportFixture f;
        for (const QString& name :
             {u"=HYPERLINK(\"http://x\")"_s, u"@SUM(A1)"_s, u"+1"_s, u"-1"_s, u"=1+1"_s, u"_x0041_"_s, u"a\t\0b\x1b"_s})
            f.db.addSotr(name, kb::Value(qint64(1)));
        f.show(reports::employeeList());
        Desktop desktop;
        reports::exportToExcel(desktop.registry, f.query, f.grid, false);
        QCOMPARE(dumpOf(desktop.opened.value(0)).filter(QRegularExpression("^B([5-9]|1[01]) ")),
                 (QStringList{"B5 s '=HYPERLINK(\"http://x\")' General medium medium center",
                              "B6 s '@SUM(A1)' General medium medium center", "B7 s '+1' General medium medium center",
                              "B8 s '-1' General medium medium center", "B9 s '=1+1' General medium medium center",
                              "B10 s '_x0041_' General medium medium center",
                              "B11 s 'a\\t\\x00b\\x1b' General medium medium center"}));
    }

    // A workbook that cannot be written, to a read-only folder or with a text longer than a cell holds, is told with
    // the reason once the export has released the server, and leaves no file and nothing opened.
    void handOffFails_data() {
        columns<bool, QString>("readOnly", "told");
        row("read-only folder", true, QStringLiteral("Не удалось создать файл книги в папке \"%1\""));
        row("text too long for a cell", false,
            QStringLiteral("Не удалось записать книгу \"%1/Книга1.xlsx\": ячейка E2: текст длиннее 32767 символов, "
                           "больше, чем вмещает ячейка"));
    }
    void handOffFails() {
        const auto [readOnly, told] = fetch<bool, QString>("readOnly", "told");
        ExportFixture f;
        f.db.exec(QStringLiteral("UPDATE Sotr SET Adres = ?1 WHERE ID = 1"),
                  {kb::Value(QString(readOnly ? 1 : 32768, u'ж'))});
        f.show(reports::employeeList());
        Desktop desktop;
        const QByteArray folder = QFile::encodeName(desktop.folder.path());
        const bool mount = readOnly && geteuid() == 0; // root writes into any folder: a read-only file system instead
        if (readOnly && (mount ? ::mount("tmpfs", folder, "tmpfs", MS_RDONLY, "size=64k") : ::chmod(folder, 0555)))
            QSKIP("no read-only folder can be made here");
        const auto restore = qScopeGuard([&] { mount ? void(::umount(folder)) : void(::chmod(folder, 0755)); });
        reports::exportToExcel(desktop.registry, f.query, f.grid, false);
        QCOMPARE(desktop.told, QStringList{told.arg(desktop.folder.path())});
        QCOMPARE(desktop.opened, QStringList{});
        QCOMPARE(QDir(desktop.folder.path()).entryList(QDir::Files), QStringList{});
    }

    // Printed: a landscape PDF with the title row on every page and no
    // workbook left behind.
    void printed() {
        ExportFixture f;
        f.addPaidStaff(100);
        f.show(reports::salaryStatement(at(2013, 4, 15)));
        QTemporaryDir pdfFolder;
        const QString pdf = pdfFolder.filePath(QStringLiteral("печать.pdf"));
        Desktop desktop(pdf);
        reports::exportToExcel(desktop.registry, f.query, f.grid, true);
        QCOMPARE(desktop.opened, QStringList{});
        QCOMPARE(QDir(desktop.folder.path()).entryList(QDir::Files), QStringList{});
        const QStringList info =
            outputOf(QStringLiteral("pdfinfo"), {pdf}).filter(QRegularExpression("^(Pages|Page size):"));
        QCOMPARE(info, (QStringList{"Pages:           2", "Page size:       842 x 595 pts (A4)"}));
        const QString first = pageText(pdf, 1);
        const QString second = pageText(pdf, 2);
        for (const QString& title : {QStringLiteral("ФИО"), QStringLiteral("К выдаче")}) {
            QVERIFY(first.contains(title));
            QVERIFY(second.contains(title));
        }
        QVERIFY(first.contains(QStringLiteral("Иванов Иван Иванович")));
        QVERIFY(first.contains(QStringLiteral("11974,65")));
        QVERIFY(second.contains(QStringLiteral("Сотрудник 99")));
    }

    // Without a default printer PrintOut fails; the workbook, already shown,
    // stays with the user.
    void noPrinter() {
        ExportFixture f;
        f.show(reports::employeeList());
        Desktop desktop;
        QCOMPARE(errorMessage([&] { reports::exportToExcel(desktop.registry, f.query, f.grid, true); }),
                 QStringLiteral("Принтер по умолчанию не настроен: напечатать книгу нельзя"));
        QCOMPARE(desktop.opened.size(), 1);
    }
};

QTEST_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
