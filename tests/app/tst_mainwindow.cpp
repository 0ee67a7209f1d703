#include "AppearanceSetup.h"
#include "ClassRegistry.h"
#include "DbError.h"
#include "MainWindowProgram.h"
#include "RecordingServer.h"
#include "ShellTestMain.h"
#include "TFormMsgDlg.h"
#include "TFormSotr.h"
#include "TestRows.h"

#include <QDateTimeEdit>
#include <QFile>
#include <QFontInfo>
#include <QLabel>

using namespace kbtest;
using namespace Qt::StringLiterals;
using Program = kbtest::MainWindowProgram;

namespace {

// The pixels darker than mid-grey in the widget as drawn.
int darkPixels(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    int dark = 0;
    for (int i = 0; i < image.width() * image.height(); ++i)
        dark += qGray(image.pixel(i % image.width(), i / image.width())) < 128;
    return dark;
}

// An object whose handler of its own event type fails: with a message first, then with something not an exception.
struct Failing : QObject {
    static inline const auto type = QEvent::Type(QEvent::registerEventType());
    int runs = 0;
    bool event(QEvent* event) override {
        if (event->type() != type)
            return QObject::event(event);
        if (++runs == 1)
            throw kb::sql::DbError(u"no such column: FIO2"_s);
        throw 17;
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { kb::app::setupAppearance(*qApp); }

    // The start: the grid empty with the focus, the export commands off, the picker at 04.2013. No button is the
    // default or the cancel one: Enter and Escape start nothing. "Помощь" shows the help text in the message dialog as
    // an information answered with "Верно"; "Выход" closes the window at once.
    void startHelpAndExit() {
        Program p;
        QVERIFY(p.shown);
        QCOMPARE(QApplication::focusWidget(), p.window.resultGrid);
        QCOMPARE(p.window.monthPicker->text(), u"04.2013"_s);
        QWidget* const controls[] = {p.window.nameEdit, p.window.positionEdit, p.window.resultGrid};
        for (QWidget* control : controls)
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(control, key);
        QVERIFY(p.window.isVisible() && p.window.resultGrid->columnCount() == 0);
        QCOMPARE(p.exportCommands(), u"000"_s);
        QStringList shown;
        p.dialogs->scriptDialogAction([&](QDialog& dialog) {
            const auto& message = static_cast<kb::ui::TFormMsgDlg&>(dialog);
            shown << message.textLabel->text().left(70) << message.titleLabel->text() << message.bottomButton->text();
            message.bottomButton->click();
        });
        p.window.helpAction->trigger();
        QCOMPARE(shown, (QStringList{u"Информационно-справочная система бухгалтера в отделе культуры.\n\rДоступ"_s,
                                     u"Сообщение"_s, u"Верно"_s}));
        p.run(u"Меню/Выход"_s);
        QVERIFY(!p.window.isVisible() && p.dialogs->calls().size() == 1);
    }

    // Each command fills the grid from its own edit and enables the export commands (what the searches match is
    // pinned by the statements' test).
    void commandsFillTheGrid_data() {
        columns<QString, QString, QString, QStringList>("command", "edit1", "edit2", "firstColumn");
        row("month statement", u"Зароботная плата за выбранный месяц"_s, QString(), QString(),
            QStringList{u"Иванов Иван Иванович"_s, u"Петрова Анна Сергеевна"_s});
        row("name search", u"Поиск сотрудника по ФИО"_s, u"анна"_s, u"Директор"_s, QStringList{u"2"_s});
        row("position search", u"Поиск сотрудников по должности"_s, u"Петрова"_s, u"бухгалтер"_s, QStringList{u"1"_s});
        row("employees", u"Справочник/Сотрудники"_s, u"Петрова"_s, u"Директор"_s, QStringList{u"1"_s, u"2"_s});
    }
    void commandsFillTheGrid() {
        const auto [command, edit1, edit2, firstColumn] =
            fetch<QString, QString, QString, QStringList>("command", "edit1", "edit2", "firstColumn");
        Program p;
        p.window.nameEdit->setText(edit1);
        p.window.positionEdit->setText(edit2);
        p.run(command);
        QCOMPARE(p.window.resultGrid->columnCount(), command.startsWith(u"Зароботная") ? 10 : 8);
        QCOMPARE(p.column(0), firstColumn);
        QCOMPARE(p.exportCommands(), u"111"_s);
    }

    // The export commands (the button's handler is the menu item's too) copy the grid into a new workbook of the
    // registered server; the printing one prints and quits. The grid stands on the last record afterwards.
    void exportCommands_data() {
        columns<QString, QString>("command", "lastCall");
        row("button", u"Экспорт результатов в Excel"_s, u"excel.Range write(Text \"H3\", Null)"_s);
        row("print", u"Меню/Напечатать"_s, u"excel.Quit method()"_s);
    }
    void exportCommands() {
        const auto [command, lastCall] = fetch<QString, QString>("command", "lastCall");
        Program p;
        kbtest::RecordingServer server;
        server.registerIn(kb::automation::classRegistry());
        const auto unregister =
            qScopeGuard([] { kb::automation::classRegistry().unregisterClass(u"Excel.Application"_s); });
        p.run(u"Справочник/Сотрудники"_s);
        p.run(command);
        QCOMPARE(server.log().first(), u"create Excel.Application"_s);
        QCOMPARE(server.log().last(), lastCall);
        QCOMPARE(p.window.resultGrid->currentIndex().row(), 1);
    }

    // A failing command is shown in the error box captioned with the program's title; the window stays, with the grid
    // empty and the export commands enabled, and the next run works.
    void commandErrorIsShown() {
        Program p;
        p.dialogs->expectErrorBox();
        p.db.exec(u"UPDATE Premia SET Premia = 'много' WHERE IDSotr = 2"_s);
        p.window.statementButton->click(); // the signal alone, without an event around it
        QCOMPARE(p.dialogs->calls().size(), size_t(1));
        const auto& box = p.dialogs->calls()[0];
        QVERIFY2(box.caption == u"tst_mainwindow"_s && box.text.contains(u"много"_s), qPrintable(box.text));
        QVERIFY(p.window.isVisible() && p.window.resultGrid->columnCount() == 0);
        QCOMPARE(p.exportCommands(), u"111"_s);
        p.db.exec(u"UPDATE Premia SET Premia = '10' WHERE IDSotr = 2"_s);
        p.run(p.window.statementButton->text());
        QCOMPARE(p.column(0).size(), 2);
    }

    // Bold captions are drawn bold in the program's Tahoma: at least a fifth more ink than the same text drawn regular.
    void boldIsDrawnBold_data() {
        columns<QString>("place");
        row("editor label", u"editor label"_s);
        row("message text", u"message text"_s);
        row("main window button", u"main window button"_s);
    }
    void boldIsDrawnBold() {
        const auto [place] = fetch<QString>("place");
        Program p;
        kb::editors::TFormSotr editor(*p.dataModule, &p.window);
        kb::ui::TFormMsgDlg message;
        message.setMessage(u"Табельный номер: Сотрудники"_s, QString());
        QWidget* widget = place == u"editor label"_s   ? editor.findChild<QLabel*>()
                          : place == u"message text"_s ? message.textLabel
                                                       : static_cast<QWidget*>(p.window.statementButton);
        if (QFile::exists(u"/usr/share/wine/fonts/tahoma.ttf"_s))
            QCOMPARE(QFontInfo(widget->font()).family(), u"Tahoma"_s);
        widget->resize(widget->sizeHint());
        const int bold = darkPixels(*widget);
        QFont regular = widget->font();
        regular.setBold(false);
        widget->setFont(regular);
        const int plain = darkPixels(*widget);
        QVERIFY2(bold * 5 > plain * 6, qPrintable(u"bold %1, regular %2"_s.arg(bold).arg(plain)));
    }

    // The application object's default error handler: an error leaving an event handler (sent or posted) is shown in
    // the error box captioned with the program's title, with the full-stop rule; the program goes on.
    void errorLeavingAHandlerIsShown() {
        kbtest::ScopedScriptedDialogs dialogs;
        dialogs->expectErrorBox();
        dialogs->expectErrorBox();
        Failing handler;
        QEvent event(Failing::type);
        QVERIFY(!QCoreApplication::sendEvent(&handler, &event));
        QCoreApplication::postEvent(&handler, new QEvent(Failing::type));
        QTRY_COMPARE(handler.runs, 2);
        QStringList shown;
        for (const auto& box : dialogs->calls())
            shown << box.caption + u": "_s + box.text;
        QCOMPARE(shown,
                 (QStringList{u"tst_mainwindow: no such column: FIO2."_s, u"tst_mainwindow: Неизвестная ошибка."_s}));
    }
};

KBTEST_SHELL_MAIN(TestMainWindow)

#include "tst_mainwindow.moc"
