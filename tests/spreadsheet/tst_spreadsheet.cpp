// Our spreadsheet server: what the workbook it writes holds when read back by another program, the private folder it
// puts the file in and what it prints.

#include "ExportFixture.h"
#include "ExportToExcel.h"
#include "SpreadsheetServer.h"
#include "Statements.h"
#include "TestRows.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace kbtest;
using namespace Qt::StringLiterals;
namespace reports = kb::reports;

namespace {
// What a program printed; fails the test when it fails.
QStringList outputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The system's desktop with a temporary runtime folder, so that workbooks go to <runtime>/kultbuh; what would be
// opened or told is noted, and the printer writes a PDF file (none when pdf is empty).
struct Desktop : kb::spreadsheet::SystemDesktop {
    explicit Desktop(QString pdfPath = {}, bool canOpen = true) : pdf(std::move(pdfPath)), opens(canOpen) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        kb::spreadsheet::registerSpreadsheetServer(registry,
                                                   std::shared_ptr<Desktop>(std::shared_ptr<Desktop>(), this));
    }
    std::unique_ptr<QPrinter> defaultPrinter() override {
        auto printer = pdf.isEmpty() ? nullptr : std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (printer)
            printer->setOutputFileName(pdf); // a PDF file, by its name
        return printer;
    }
    bool openWorkbook(const QString& path) override { return opened << path, opens; }
    void tell(const QString& message) override { told << message; }
    QString folder() const { return runtime.filePath(u"kultbuh"_s); }

    QTemporaryDir runtime;
    QString pdf;
    bool opens;
    kb::automation::ClassRegistry registry;
    QStringList opened, told;
};
} // namespace

class TestSpreadsheet : public QObject {
    Q_OBJECT
private slots:
    // The employee list left open, with names a spreadsheet program would take for a formula or a character code or
    // with control characters: values by type, names read back unchanged, the block bordered and centred.
    void exportedList() {
        ExportFixture f;
        for (const QString& name : {u"=HYPERLINK(\"http://x\")"_s, u"_x0041_"_s, u"a\t\0b\x1b"_s})
            f.db.addSotr(name, kb::sql::Value(qint64(1)));
        f.show(reports::employeeList());
        Desktop desktop;
        reports::exportToExcel(desktop.registry, f.query, f.grid, false);
        QCOMPARE(outputOf(u"/usr/bin/python3"_s, {QStringLiteral(KB_DUMP_XLSX), desktop.folder() + u"/Книга1.xlsx"_s})
                     .filter(QRegularExpression("^(sheet|width [AH]|A[12]|D[23]|B[5-7]) ")),
                 (QStringList{"sheet Лист1 default", "width A 1 1 25.7109375", "width H 8 8 25.7109375",
                              "A1 s '№' General medium medium center", "A2 n 1 General medium medium center",
                              "D2 d '1970-05-17 00:00:00' dd.mm.yyyy medium medium center",
                              "D3 n None General medium medium center",
                              "B5 s '=HYPERLINK(\"http://x\")' General medium medium center",
                              "B6 s '_x0041_' General medium medium center",
                              "B7 s 'a\\t\\x00b\\x1b' General medium medium center"}));
    }

    // A workbook left open goes to a folder only the user may enter, as a file only the user may read, whatever the
    // umask; the user is told where when nothing opens it. The program's workbooks older than a week are removed there.
    // A folder that is a link or another user's is refused, so is a workbook not written whole: the user is told.
    void handOff_data() {
        columns<bool, QString, QString>("runtime", "found", "told"); // found: what is at the folder's place
        const QString unopened =
            u"Книга записана в файл \"%1/%2\", но открыть её нечем: программа для электронных таблиц не найдена."_s;
        row("runtime folder made", true, QString(), unopened.arg(u"%1"_s, u"Книга1.xlsx"_s));
        row("cache folder of ours, open to others, with files", false, u"ours"_s,
            unopened.arg(u"%1"_s, u"Книга2.xlsx"_s));
        row("a link in its place", true, u"link"_s,
            u"Вместо папки для книг \"%1\" найден файл или ссылка: записывать туда книги нельзя"_s);
        row("another user's folder", false, u"foreign"_s,
            u"Папка для книг \"%1\" принадлежит другому пользователю: записывать туда книги нельзя"_s);
        row("text too long for a cell", true, u"long"_s,
            u"Не удалось записать книгу \"%1/Книга1.xlsx\": ячейка E2: текст длиннее 32767 символов, "
            u"больше, чем вмещает ячейка"_s);
    }
    void handOff() {
        const auto [runtime, found, told] = fetch<bool, QString, QString>("runtime", "found", "told");
        if (found == u"foreign" && geteuid() != 0)
            QSKIP("only root can give a folder to another user");
        ExportFixture f;
        if (found == u"long")
            f.db.exec(u"UPDATE Sotr SET Adres = ?1 WHERE ID = 1"_s, {kb::sql::Value(QString(32768, u'ж'))});
        f.show(reports::employeeList());
        Desktop desktop({}, false);
        const QString folder = runtime ? desktop.folder() : desktop.runtime.filePath(u"cache/kultbuh/export"_s);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(desktop.runtime.filePath(u"cache"_s)));
        if (!runtime)
            qputenv("XDG_RUNTIME_DIR", "/nonexistent");
        QStringList files; // Книга1.xlsx fresh, the rest older than a week; Книга2.xlsx is the program's
        if (found == u"link")
            QVERIFY(QFile::link(desktop.runtime.path(), folder));
        if (found == u"ours" || found == u"foreign") {
            files = QStringList{u"Книга.xlsx"_s, u"Книга1.xlsx"_s, u"Книга2.xlsx"_s, u"заметки.txt"_s};
            QVERIFY(QDir().mkpath(folder) && ::chmod(QFile::encodeName(folder), 0755) == 0);
            for (const QString& name : files) {
                QFile file(QDir(folder).filePath(name));
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write("earlier") == 7 && file.flush());
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(name == u"Книга1.xlsx" ? -6 : -8),
                                         QFile::FileModificationTime));
            }
            QVERIFY(found == u"ours" || ::chown(QFile::encodeName(folder), 65534, 65534) == 0);
        }
        const mode_t umask = ::umask(0);
        reports::exportToExcel(desktop.registry, f.query, f.grid, false);
        ::umask(umask);
        QCOMPARE(desktop.told, QStringList{told.arg(folder)});
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
                 found.isEmpty() ? QStringList{u"Книга1.xlsx"_s} : files);
        const bool written = found.isEmpty() || found == u"ours";
        QCOMPARE(desktop.opened.size(), written ? 1 : 0);
        if (!written)
            return;
        QCOMPARE(modeOf(folder), mode_t(0700));
        QCOMPARE(modeOf(desktop.opened.value(0)), mode_t(0600));
        QVERIFY(QFileInfo(desktop.opened.value(0)).size() > 7);
        QVERIFY(found.isEmpty() || QFileInfo(QDir(folder).filePath(u"Книга1.xlsx"_s)).size() == 7);
    }

    // Printed: a landscape PDF with the title row on every page, numbers in the Russian form, and no workbook left
    // behind. Without a default printer PrintOut fails; the workbook, already shown, stays with the user.
    void printed_data() {
        columns<bool, QString>("printer", "error");
        row("to a PDF file", true, QString());
        row("no printer", false, u"Принтер по умолчанию не настроен: напечатать книгу нельзя"_s);
    }
    void printed() {
        const auto [printer, error] = fetch<bool, QString>("printer", "error");
        ExportFixture f;
        for (int i = 0; i < 100; ++i) {
            const qint64 id = f.db.addSotr(u"Сотрудник %1"_s.arg(i, 2, 10, QLatin1Char('0')));
            f.db.addStavka(id, 1000 + i);
            f.db.addPremia(id, at(2013, 4, 1), u"10"_s);
            f.db.addOtrChas(id, 20, at(2013, 4, 30));
        }
        f.show(reports::salaryStatement(at(2013, 4, 15)));
        Desktop desktop;
        const QString pdf = desktop.pdf = printer ? desktop.runtime.filePath(u"печать.pdf"_s) : QString();
        QCOMPARE(errorMessage([&] { reports::exportToExcel(desktop.registry, f.query, f.grid, true); }), error);
        QCOMPARE(desktop.opened.size(), printer ? 0 : 1);
        if (!printer)
            return;
        QVERIFY(!QFileInfo::exists(desktop.folder()));
        QCOMPARE(outputOf(u"pdfinfo"_s, {pdf}).filter(u"Page size:"_s),
                 QStringList{"Page size:       842 x 595 pts (A4)"});
        const QStringList pages = outputOf(u"pdftotext"_s, {pdf, u"-"_s}).join(u'\n').split(u'\f');
        QCOMPARE(pages.size(), 3); // two pages, each ending in a form feed
        QVERIFY(pages[0].contains(u"Иванов Иван Иванович"_s) && pages[0].contains(u"11974,65"_s));
        QVERIFY(pages[1].contains(u"К выдаче"_s) && pages[1].contains(u"Сотрудник 99"_s));
    }
};

QTEST_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
