// The pay slip through the main window's button, on a real database, with the modal dialogs scripted and the editor
// recorded: the questions it asks, the file it writes and the editor it starts.

#include "MainWindowProgram.h"
#include "ShellTestMain.h"
#include "TestRows.h"
#include "Windows1251.h"

#include <QDir>
#include <QFile>
#include <optional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kbtest;
using namespace Qt::StringLiterals;
using Setup = std::function<void(kbtest::TempDatabase&)>;
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const QByteArray kOldFile = "old slip";

// The main window showing a name search.
struct Program : kbtest::MainWindowProgram {
    explicit Program(const Setup& setup = {}) : MainWindowProgram(setup) { search(u"ов"_s); }
    void search(const QString& name) {
        window.nameEdit->setText(name);
        window.nameSearchButton->click();
    }
    // The grid's column, top to bottom, after the export commands' states.
    QString screen(int column = 1) const { return (QStringList{exportCommands()} + this->column(column)).join(u'|'); }
    // The pay slip for the typed name (nullopt: Cancel in the prompt), saved to the path (nullopt: Cancel).
    void paySlip(const std::optional<QString>& typed, const std::optional<QString>& path) {
        dialogs->answerInputPrompt(typed);
        dialogs->answerSaveFileName(path);
        window.paySlipButton->click();
    }
};

// The slip of the example figures, byte by byte: salary 12345 with 10 %: bonus 1234.5 and gross 13579.5 go to the even
// neighbours, net 11974.65 is rounded alone.
const QByteArray kExample =
    QByteArray::fromHex("cfe5f2f0eee2e020c0edede020d1e5f0e3e5e5e2ede00d0aceeaebe0e43a2031323334350d0acff0e5ece8ff"
                        "3a20313233340d0ac8f2eee3ee3a2031333538300d0ac2fbf7f2e5edee3a20efeee4eef5eee4edfbe920ede0"
                        "ebeee320313438310d0a202020202020202020efe5edf1e8eeededfbe920ede0ebeee3203132330d0ac8f2ee"
                        "e3ee20ea20e2fbe4e0f7e53a2031313937350d0a");

} // namespace

class TestPaySlip : public QObject {
    Q_OBJECT

private slots:
    // What each answer gives: the prompt, then a message or the save dialog; the file that replaces the earlier one,
    // or the earlier one as it was; the editor on the path as the dialog returned it. The grid and the export commands
    // stay as they were. A row without message and file cancels the save dialog.
    void outcomes_data() {
        columns<Setup, std::optional<QString>, QString, QByteArray>("setup", "typed", "message", "file");
        const std::optional<QString> petrova = u"Петрова Анна Сергеевна"_s;
        const auto update = [](const QString& sql) { return Setup([sql](TempDatabase& db) { db.exec(sql); }); };
        row("example figures", Setup(), petrova, QString(), kExample);
        row("another letter case", Setup(), std::optional(u"пЕТРОВА анна сергеевна"_s), QString(),
            kb::reports::toWindows1251(u"пЕТРОВА анна сергеевна"_s) + kExample.mid(kExample.indexOf('\r')));
        row("cancel in the save dialog", Setup(), petrova, QString(), QByteArray());
        row("part of a name", Setup(), std::optional(u"Петрова"_s), u"M:Сотрудника Петрова не найдено!"_s, kOldFile);
        row("no row in the month", Setup(), std::optional(u"Сидоров Без Должности"_s),
            u"M:Нет данных для расчётного листа сотрудника Сидоров Без Должности за 04.2013."_s, kOldFile);
        row("bonus without a value", update(u"UPDATE Premia SET Premia = NULL WHERE IDSotr = 2"_s), petrova,
            u"E:Расчётный лист не составлен: у показателя «Премия» нет значения."_s, kOldFile);
        row("salary beyond 32 bits", update(u"UPDATE Stavka SET Sum = 3000000000 WHERE IDSotr = 2"_s), petrova,
            u"E:Расчётный лист не составлен: показатель «Оклад» (3000000000.00) не умещается в 32-разрядное целое "
            u"число."_s,
            kOldFile);
        row("character outside Windows-1251", update(u"UPDATE Sotr SET FIO = 'Łukasz Nowak' WHERE ID = 2"_s),
            std::optional(u"Łukasz Nowak"_s), u"E:Символ «Ł» (U+0141) нельзя записать в кодировке Windows-1251."_s,
            kOldFile);
    }
    void outcomes() {
        const auto [setup, typed, message, file] =
            fetch<Setup, std::optional<QString>, QString, QByteArray>("setup", "typed", "message", "file");
        Program p(setup);
        const QString before = p.screen();
        const QString path = p.db.filePath(u"-лист \"1\" 'a b'"_s);
        QVERIFY(writeFile(path, kOldFile));
        if (!message.isEmpty())
            message.startsWith(u"E:") ? p.dialogs->expectErrorBox() : p.dialogs->expectMessageBox();

        p.paySlip(typed, file.isEmpty() ? std::nullopt : std::optional(path));
        QStringList asked;
        for (const auto& call : p.dialogs->calls())
            asked << QString(QLatin1Char("DPMECS"[int(call.kind)])) + u':' + call.caption + u':' + call.text;
        const QString caption = u"tst_payslip:"_s; // the program's title captions both boxes
        QCOMPARE(asked,
                 (QStringList{u"P:Формирование расчётного листа:Укажите фамилию сотрудника: "_s,
                              message.isEmpty() ? u"S::*.txt (*.txt)"_s : message.left(2) + caption + message.mid(2)}));
        QCOMPARE(fileBytes(path), file.isEmpty() ? kOldFile : file);
        QCOMPARE(p.opened, file.isEmpty() || file == kOldFile ? QStringList() : QStringList{path});
        QCOMPARE(QDir(p.db.dir()).entryList(QDir::Files), (QStringList{u"-лист \"1\" 'a b'"_s, u"BAZA.mdb"_s}));
        QCOMPARE(p.screen(), before);
    }

    // Hostile text in both search boxes and in the pay slip's prompt is plain text: the name search finds the one
    // employee of that name, the position search nothing, the pay slip has no slip for the month; the database file
    // keeps every byte.
    void hostileText() {
        const QString text = u"' OR 1=1 --"_s;
        Program p([&text](TempDatabase& db) { db.addSotr(text, kb::sql::Value(qint64(1))); });
        const QByteArray database = fileBytes(p.db.path());
        p.search(text);
        QCOMPARE(p.screen(0), u"111|4"_s);
        p.window.positionEdit->setText(text);
        p.window.positionSearchButton->click();
        QCOMPARE(p.screen(0), u"111"_s);
        p.dialogs->expectMessageBox();
        p.paySlip(text, std::nullopt);
        QCOMPARE(p.dialogs->calls().back().text,
                 u"Нет данных для расчётного листа сотрудника "_s + text + u" за 04.2013."_s);
        QCOMPARE(fileBytes(p.db.path()), database);
    }

    // Two employees of one name: the slip takes the first of the name's rows of the month's statement, as the grid
    // shows it (the engine's order).
    void firstRowOfTheName() {
        const QString petrova = u"Петрова Анна Сергеевна"_s;
        Program p([&petrova](TempDatabase& db) {
            const qint64 twin = db.addSotr(petrova);
            db.addStavka(twin, 20000);
            db.addPremia(twin, at(2013, 4, 2), u"20"_s);
            db.addOtrChas(twin, 5, at(2013, 4, 2));
        });
        const QString path = p.db.filePath(u"лист.txt"_s);
        p.paySlip(petrova, path);
        p.window.statementButton->click();
        const QStringList names = p.screen(0).split(u'|'), salaries = p.screen(1).split(u'|');
        QCOMPARE(names.count(petrova), 2);
        const QString first = salaries[names.indexOf(petrova)];
        QVERIFY(first != salaries[names.lastIndexOf(petrova)]);
        QCOMPARE(fileBytes(path).split('\n').value(1), kb::reports::toWindows1251(u"Оклад: "_s + first + u'\r'));
    }

    // A failed write (the temporary file refused, or a write into a full file system) reports an input/output error
    // with the path and the reason, leaves the folder's files as they were and starts no editor. A read-only folder as
    // root and a full one need a small file system of their own.
    void failedWrite_data() {
        columns<bool>("full");
        row("read-only folder", false);
        row("full file system", true);
    }
    void failedWrite() {
        QFETCH(bool, full);
        Program p;
        const QString dir = p.db.filePath(u"папка"_s), path = dir + u"/лист.txt"_s;
        QVERIFY(QDir().mkpath(dir));
        const bool ownFileSystem = full || geteuid() == 0;
        if (ownFileSystem && ::mount("tmpfs", qPrintable(dir), "tmpfs", 0, "size=64k") != 0)
            QSKIP("no file system of its own can be mounted here");
        const auto undo = qScopeGuard(
            [&] { ownFileSystem ? void(::umount(qPrintable(dir))) : void(::chmod(qPrintable(dir), 0755)); });
        QVERIFY(writeFile(path, kOldFile));
        if (!full)
            QVERIFY((ownFileSystem ? ::mount("tmpfs", qPrintable(dir), nullptr, MS_REMOUNT | MS_RDONLY, nullptr)
                                   : ::chmod(qPrintable(dir), 0555)) == 0);
        if (full)
            writeFile(dir + u"/filler"_s, QByteArray(1 << 20, 'x'));
        const QStringList files = QDir(dir).entryList(QDir::Files | QDir::Hidden);
        p.dialogs->expectErrorBox();
        p.paySlip(u"Петрова Анна Сергеевна"_s, path);
        const QString error = p.dialogs->calls().back().text,
                      start = u"Ошибка ввода-вывода: не удалось записать файл "_s + path + u": "_s;
        QVERIFY2(error.startsWith(start) && error.size() > start.size() + 1, qPrintable(error));
        QVERIFY(p.opened.isEmpty());
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), files);
        QCOMPARE(fileBytes(path), kOldFile);
    }

    // Saving over a link replaces the link itself: the file it points to, in another folder, keeps its bytes.
    void linkReplacedItself() {
        Program p;
        const QString target = p.db.filePath(u"other/slip.txt"_s), link = p.db.filePath(u"slip.txt"_s);
        QVERIFY(QDir().mkpath(p.db.filePath(u"other"_s)) && writeFile(target, kOldFile) && QFile::link(target, link));
        p.paySlip(u"Петрова Анна Сергеевна"_s, link);
        QVERIFY(!QFileInfo(link).isSymLink() && fileBytes(target) == kOldFile && fileBytes(link) == kExample);
    }

    // An editor that takes an encoding on its command line gets Windows-1251 and the path after "--"; any other entry
    // of the default plain-text application opens through xdg-open, with a path that is no option.
    void editorCommandLine_data() {
        columns<QString, QString, QString>("entry", "path", "call");
        row("mousepad", u"org.xfce.mousepad.desktop\n"_s, u"-x.txt"_s, u"mousepad|--encoding=WINDOWS-1251|--|-x.txt"_s);
        row("unknown", u"org.gnome.TextEditor.desktop"_s, u"-x \"y\".txt"_s, u"xdg-open|./-x \"y\".txt"_s);
    }
    void editorCommandLine() {
        const auto [entry, path, call] = fetch<QString, QString, QString>("entry", "path", "call");
        const kb::reports::ProgramCall made = kb::reports::textEditorCall(entry, path);
        QCOMPARE(QStringList{made.program} + made.arguments, call.split(u'|'));
    }
};

KBTEST_SHELL_MAIN(TestPaySlip)

#include "tst_payslip.moc"
