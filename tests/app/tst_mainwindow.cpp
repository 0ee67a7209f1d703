// The main window: its controls, menu, focus and size, and the grid handlers
// on a real database file.

#include "AppearanceSetup.h"
#include "DataModule.h"
#include "DbError.h"
#include "Query.h"
#include "ResultGrid.h"
#include "SampleStaff.h"
#include "ScriptedModalDialogs.h"
#include "TFormMain.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

using kb::Value;
using kbtest::at;

namespace {

// A database, the data module on it and the main window bound to it.
struct Program {
    kbtest::TempDatabase db;
    std::unique_ptr<TDataM> dataModule;
    TFormMain window;

    Program() {
        kbtest::addSampleStaff(db);
        dataModule = std::make_unique<TDataM>(nullptr, db.path());
        window.bindData(*dataModule);
    }
    kb::Query& query() const { return *dataModule->ADOQuery; }
    int rows() const { return window.DBGrid1->model()->rowCount(); }
    QString cell(int row, int column) const { return window.DBGrid1->model()->index(row, column).data().toString(); }
    bool exportEnabled() const {
        return window.Button4->isEnabled() && window.Excel1->isEnabled() && window.N11->isEnabled();
    }
    bool exportDisabled() const {
        return !window.Button4->isEnabled() && !window.Excel1->isEnabled() && !window.N11->isEnabled();
    }
};

bool showActive(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

// The widget that has the keyboard focus, or the control it belongs to.
bool focusIsIn(const QWidget* control) {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == control || control->isAncestorOf(focus));
}

QString focusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() + QLatin1Char('/') + QString::fromLatin1(focus->metaObject()->className())
                 : QStringLiteral("(none)");
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void windowCaptionSizeAndLook();
    void controlGeometry_data();
    void controlGeometry();
    void controlCaptionsAndStates_data();
    void controlCaptionsAndStates();
    void noDefaultButton();
    void menuItems_data();
    void menuItems();
    void menuOrderWithoutAccelerators();
    void pickerStartsAtApril2013();
    void saveDialogSettings();
    void gridHasTheFocusWhenShown();
    void tabOrder();
    void maximisingGivesTheGridTheRoom();
    void borderKeepsTheDesignedSize();
    void centredOnTheScreen();

    void formCreateShowsTheSplash();
    void gridIsBoundToTheSharedQuery();
    void everyGridHandlerEnablesTheExportCommands_data();
    void everyGridHandlerEnablesTheExportCommands();
    void failingStatementLeavesCommandsEnabledAndGridEmpty();
    void untouchedPickerGivesApril2013();
    void pickerMonthAndYearByKeyboard();
    void enterAndEscapeStartNothing();
    void exitClosesAtOnce();
    void handlerWithoutDataModuleFails();
};

void TestMainWindow::initTestCase() {
    kb::app::setupAppearance(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestMainWindow::windowCaptionSizeAndLook() {
    TFormMain w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Информационно-справочная система бухгалтера отдела культуры"));
    QVERIFY(showActive(w));
    QCOMPARE(w.centralWidget()->size(), QSize(794, 568));
    QCOMPARE(w.centralWidget()->y(), w.menuBar()->height());
    QCOMPARE(w.size(), w.designedSize());
    QCOMPARE(w.font().pixelSize(), 11);
    QCOMPARE(w.font().family(), kb::app::uiFontFamily());
    QCOMPARE(w.DBGrid1->horizontalHeader()->font().pixelSize(), 11);
    QCOMPARE(w.palette().color(QPalette::Window), w.palette().color(QPalette::Button));
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowMaximizeButtonHint);
    QCOMPARE(w.Panel1->frameShape(), QFrame::NoFrame);
    QVERIFY(!w.isHidden());
}

void TestMainWindow::controlGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("DBGrid1") << "DBGrid1" << QRect(5, 5, 784, 462);
    QTest::newRow("Panel1") << "Panel1" << QRect(0, 472, 794, 96);
    QTest::newRow("DateTimePicker1") << "DateTimePicker1" << QRect(12, 3, 109, 21);
    QTest::newRow("Button1") << "Button1" << QRect(127, 3, 266, 25);
    QTest::newRow("Button5") << "Button5" << QRect(399, 3, 155, 25);
    QTest::newRow("Button4") << "Button4" << QRect(560, 3, 229, 86);
    QTest::newRow("Edit1") << "Edit1" << QRect(12, 34, 173, 21);
    QTest::newRow("Button2") << "Button2" << QRect(191, 34, 363, 25);
    QTest::newRow("Edit2") << "Edit2" << QRect(12, 65, 173, 21);
    QTest::newRow("Button3") << "Button3" << QRect(191, 65, 363, 25);
}

void TestMainWindow::controlGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TFormMain w;
    QVERIFY(showActive(w));
    const auto* control = w.findChild<QWidget*>(name);
    QVERIFY(control);
    // The grid and the panel sit in the client area, the rest in the panel.
    const QWidget* container = (name == "DBGrid1" || name == "Panel1") ? w.centralWidget() : w.Panel1;
    QCOMPARE(control->parentWidget(), container);
    QCOMPARE(control->geometry(), geometry);
}

void TestMainWindow::controlCaptionsAndStates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("Button1") << "Button1"
                             << "Зароботная плата за выбранный месяц" << true;
    QTest::newRow("Button5") << "Button5"
                             << "Расчётный лист" << true;
    QTest::newRow("Button4") << "Button4"
                             << "Экспорт результатов в Excel" << false;
    QTest::newRow("Button2") << "Button2"
                             << "Поиск сотрудника по ФИО" << true;
    QTest::newRow("Button3") << "Button3"
                             << "Поиск сотрудников по должности" << true;
}

void TestMainWindow::controlCaptionsAndStates() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    TFormMain w;
    const auto* button = w.findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->isEnabled(), enabled);
    QVERIFY(button->font().bold());
    QCOMPARE(button->font().pixelSize(), 11);
    QVERIFY(button->shortcut().isEmpty());
    QVERIFY(w.Edit1->text().isEmpty());
    QVERIFY(w.Edit2->text().isEmpty());
    QVERIFY(w.Edit1->isEnabled() && w.Edit2->isEnabled() && w.DateTimePicker1->isEnabled());
}

void TestMainWindow::noDefaultButton() {
    TFormMain w;
    const QList<QPushButton*> buttons = w.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 5);
    for (const QPushButton* button : buttons) {
        QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        QVERIFY2(!button->autoDefault(), qPrintable(button->objectName()));
    }
}

void TestMainWindow::menuItems_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("under");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("N11") << "N11"
                         << "Напечатать"
                         << "N1" << false;
    QTest::newRow("Excel1") << "Excel1"
                            << "Экспорт результатов в Excel"
                            << "N1" << false;
    QTest::newRow("N2") << "N2"
                        << "Выход"
                        << "N1" << true;
    QTest::newRow("N4") << "N4"
                        << "Сотрудники"
                        << "N3" << true;
    QTest::newRow("N5") << "N5"
                        << "Должности"
                        << "N3" << true;
    QTest::newRow("N6") << "N6"
                        << "Оклад"
                        << "N3" << true;
    QTest::newRow("N7") << "N7"
                        << "Премия"
                        << "N3" << true;
    QTest::newRow("N12") << "N12"
                         << "Отработанные часы"
                         << "N3" << true;
    QTest::newRow("N10") << "N10"
                         << "Сотрудники"
                         << "N9" << true;
}

void TestMainWindow::menuItems() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, under);
    QFETCH(bool, enabled);
    TFormMain w;
    const auto* item = w.findChild<QAction*>(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->isEnabled(), enabled);
    const auto* menu = w.findChild<QMenu*>(under);
    QVERIFY(menu);
    QVERIFY(menu->actions().contains(item));
}

void TestMainWindow::menuOrderWithoutAccelerators() {
    TFormMain w;
    QCOMPARE(w.menuBar()->objectName(), QStringLiteral("MainMenu1"));
    const QList<QAction*> bar = w.menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    QCOMPARE(bar[0]->menu(), w.N1);
    QCOMPARE(bar[1]->menu(), w.N3);
    QCOMPARE(bar[2]->menu(), w.N9);
    // "Помощь" is a command on the bar itself, without a submenu.
    QCOMPARE(bar[3], w.N8);
    QVERIFY(!w.N8->menu());
    QCOMPARE(w.N8->text(), QStringLiteral("Помощь"));
    QCOMPARE(w.N1->title(), QStringLiteral("Меню"));
    QCOMPARE(w.N3->title(), QStringLiteral("База данных"));
    QCOMPARE(w.N9->title(), QStringLiteral("Справочник"));
    QCOMPARE(w.N1->actions(), (QList<QAction*>{w.N11, w.Excel1, w.N2}));
    QCOMPARE(w.N3->actions(), (QList<QAction*>{w.N4, w.N5, w.N6, w.N7, w.N12}));
    QCOMPARE(w.N9->actions(), (QList<QAction*>{w.N10}));

    QList<QAction*> all = bar;
    for (const QMenu* menu : {w.N1, w.N3, w.N9})
        all += menu->actions();
    for (const QAction* action : std::as_const(all)) {
        QVERIFY2(!action->text().contains(QLatin1Char('&')), qPrintable(action->text()));
        QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
    }
}

void TestMainWindow::pickerStartsAtApril2013() {
    TFormMain w;
    const QDateTimeEdit* picker = w.DateTimePicker1;
    QCOMPARE(picker->dateTime(), at(2013, 4, 1, 12, 32, 52));
    QCOMPARE(picker->text(), QStringLiteral("04.2013"));
    QCOMPARE(picker->displayFormat(), QStringLiteral("MM.yyyy"));
    QVERIFY(picker->calendarPopup());
}

void TestMainWindow::saveDialogSettings() {
    TFormMain w;
    const kb::ui::SaveDialogSettings& dialog = w.SaveDialog;
    QCOMPARE(dialog.defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(dialog.filter, QStringLiteral("*.txt (*.txt)"));
    QVERIFY(dialog.title.isEmpty());
    QVERIFY(dialog.directory.isEmpty());
}

void TestMainWindow::gridHasTheFocusWhenShown() {
    TFormMain w;
    QVERIFY(showActive(w));
    QVERIFY2(focusIsIn(w.DBGrid1), qPrintable(focusName()));
}

void TestMainWindow::tabOrder() {
    Program p;
    TFormMain& w = p.window;
    QVERIFY(showActive(p.window));
    // With the export button still disabled, Tab passes it by.
    w.Button3->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY2(focusIsIn(w.Button5), qPrintable(focusName()));

    w.N10Click();
    const QWidget* expected[] = {w.DateTimePicker1, w.Edit1,   w.Button2, w.Edit2,
                                 w.Button3,         w.Button4, w.Button5, w.DBGrid1};
    w.Button1->setFocus();
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(focusIsIn(next),
                 qPrintable(next->objectName() + QStringLiteral(" expected, focus in ") + focusName()));
    }
    // Inside the grid Tab moves from cell to cell.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(focusIsIn(w.DBGrid1));
    QCOMPARE(w.DBGrid1->currentIndex().column(), 1);
    QCOMPARE(p.query().currentRow(), 0);
}

void TestMainWindow::maximisingGivesTheGridTheRoom() {
    TFormMain w;
    QVERIFY(showActive(w));
    const QRect normalGrid = w.DBGrid1->geometry();
    const QList<QWidget*> controls = w.Panel1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QList<QRect> places;
    for (const QWidget* control : controls)
        places << control->geometry();

    const QSize screen = w.screen()->availableGeometry().size();
    QVERIFY2(screen.width() > 794 && screen.height() > 700, "the test screen is too small to maximise into");
    w.showMaximized();
    QTRY_VERIFY(w.centralWidget()->width() > 794);
    QTRY_VERIFY(w.centralWidget()->height() > 568);
    const QSize client = w.centralWidget()->size();
    QCOMPARE(w.DBGrid1->geometry(), QRect(5, 5, client.width() - 10, client.height() - 96 - 10));
    QCOMPARE(w.Panel1->geometry(), QRect(0, client.height() - 96, client.width(), 96));
    for (int i = 0; i < controls.size(); ++i)
        QCOMPARE(controls[i]->geometry(), places[i]);

    w.showNormal();
    QTRY_COMPARE(w.size(), w.designedSize());
    QCOMPARE(w.DBGrid1->geometry(), normalGrid);
}

void TestMainWindow::borderKeepsTheDesignedSize() {
    TFormMain w;
    QVERIFY(showActive(w));
    w.resize(1000, 700);
    QTRY_COMPARE(w.size(), w.designedSize());
    w.resize(500, 400);
    QTRY_COMPARE(w.size(), w.designedSize());
    QCOMPARE(w.centralWidget()->size(), QSize(794, 568));
}

void TestMainWindow::centredOnTheScreen() {
    TFormMain w;
    QVERIFY(showActive(w));
    const QPoint screenCentre = w.screen()->availableGeometry().center();
    const QPoint windowCentre = w.frameGeometry().center();
    QVERIFY(qAbs(screenCentre.x() - windowCentre.x()) <= 1);
    QVERIFY(qAbs(screenCentre.y() - windowCentre.y()) <= 1);
}

void TestMainWindow::formCreateShowsTheSplash() {
    kb::ui::ScopedScriptedDialogs dialogs;
    dialogs->scriptDialog([](QDialog&) { return 1; });
    TFormMain window;
    window.FormCreate();
    const auto shown = dialogs->callsOf(kb::ui::ScriptedModalDialogs::Kind::ExecDialog);
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0].text, QStringLiteral("TFormZ"));
    QVERIFY(dialogs->failures().isEmpty());
    QVERIFY(!window.isVisible());
}

void TestMainWindow::gridIsBoundToTheSharedQuery() {
    Program p;
    QCOMPARE(p.window.DBGrid1->dataSource(), p.dataModule->DataSource);
    QCOMPARE(p.window.DBGrid1->dataSet(), p.dataModule->ADOQuery);
    QVERIFY(!p.query().isActive());
    QCOMPARE(p.rows(), 0);
    QCOMPARE(p.window.DBGrid1->columnCount(), 0);
    QVERIFY(p.exportDisabled());
}

void TestMainWindow::everyGridHandlerEnablesTheExportCommands_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("edit1");
    QTest::addColumn<QString>("edit2");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("firstCell");
    QTest::newRow("salary statement") << "Button1"
                                      << ""
                                      << "" << 10 << "Иванов Иван Иванович";
    QTest::newRow("name search") << "Button2"
                                 << "Анна"
                                 << "" << 8 << "2";
    QTest::newRow("position search") << "Button3"
                                     << ""
                                     << "Бухгалтер" << 8 << "1";
    QTest::newRow("reference list") << "N10"
                                    << "Петрова"
                                    << "Директор" << 8 << "1";
}

void TestMainWindow::everyGridHandlerEnablesTheExportCommands() {
    QFETCH(QString, control);
    QFETCH(QString, edit1);
    QFETCH(QString, edit2);
    QFETCH(int, columns);
    QFETCH(QString, firstCell);
    Program p;
    TFormMain& w = p.window;
    QVERIFY(showActive(p.window));
    w.Edit1->setText(edit1);
    w.Edit2->setText(edit2);
    if (auto* button = w.findChild<QPushButton*>(control))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        w.findChild<QAction*>(control)->trigger();
    QVERIFY(p.exportEnabled());
    QVERIFY(p.query().isActive());
    QCOMPARE(w.DBGrid1->columnCount(), columns);
    QCOMPARE(p.cell(0, 0), firstCell);
}

void TestMainWindow::failingStatementLeavesCommandsEnabledAndGridEmpty() {
    Program p;
    TFormMain& w = p.window;
    w.N10Click();
    QCOMPARE(w.DBGrid1->columnCount(), 8);
    p.db.exec(QStringLiteral("UPDATE Premia SET Premia = 'много' WHERE IDSotr = 2"));
    QVERIFY_THROWS_EXCEPTION(kb::DbError, w.Button1Click());
    QVERIFY(p.exportEnabled());
    QVERIFY(!p.query().isActive());
    QCOMPARE(w.DBGrid1->columnCount(), 0);
    QCOMPARE(p.rows(), 0);

    // A failure as the very first run enables the commands too.
    Program fresh;
    fresh.db.exec(QStringLiteral("UPDATE Premia SET Premia = '' WHERE IDSotr = 1"));
    QVERIFY(fresh.exportDisabled());
    QVERIFY_THROWS_EXCEPTION(kb::DbError, fresh.window.Button1Click());
    QVERIFY(fresh.exportEnabled());

    p.db.exec(QStringLiteral("UPDATE Premia SET Premia = '10' WHERE IDSotr = 2"));
    w.Button1Click();
    QCOMPARE(w.DBGrid1->columnCount(), 10);
    QCOMPARE(p.rows(), 2);
}

void TestMainWindow::untouchedPickerGivesApril2013() {
    Program p;
    TFormMain& w = p.window;
    w.Button1Click();
    QCOMPARE(p.rows(), 2);
    QCOMPARE(w.DBGrid1->columnTitle(0), QStringLiteral("ФИО"));
    QCOMPARE(w.DBGrid1->columnTitle(9), QStringLiteral("К выдаче"));
    QCOMPARE(w.DBGrid1->columnWidth(0), 150);
    QCOMPARE(p.cell(0, 2), QStringLiteral("10"));
    QCOMPARE(p.cell(0, 9), QStringLiteral("11200"));
    // Values in the Russian default text form.
    QCOMPARE(p.cell(1, 4), QStringLiteral("1481,4"));
    QCOMPARE(p.cell(1, 9), QStringLiteral("11974,65"));
    QCOMPARE(p.query().parameters().paramByName(QStringLiteral("D1")).value().toDateTime(), at(2013, 4, 1, 12, 32, 52));
}

void TestMainWindow::pickerMonthAndYearByKeyboard() {
    Program p;
    TFormMain& w = p.window;
    QVERIFY(showActive(p.window));
    w.Button1->setFocus();
    QTest::keyClick(w.Button1, Qt::Key_Tab);
    QVERIFY2(focusIsIn(w.DateTimePicker1), qPrintable(focusName()));
    // Entering by Tab starts on the month; Right moves on to the year.
    QTest::keyClick(w.DateTimePicker1, Qt::Key_Up);
    QCOMPARE(w.DateTimePicker1->text(), QStringLiteral("05.2013"));
    QCOMPARE(w.DateTimePicker1->dateTime(), at(2013, 5, 1, 12, 32, 52));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w.DateTimePicker1, Qt::Key_Right);
    QTest::keyClick(w.DateTimePicker1, Qt::Key_Down);
    QCOMPARE(w.DateTimePicker1->text(), QStringLiteral("05.2012"));
    QTest::keyClick(w.DateTimePicker1, Qt::Key_Up);
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    QCOMPARE(p.rows(), 1);
    QCOMPARE(p.cell(0, 2), QStringLiteral("20"));
}

void TestMainWindow::enterAndEscapeStartNothing() {
    Program p;
    TFormMain& w = p.window;
    QVERIFY(showActive(p.window));
    for (QLineEdit* edit : {w.Edit1, w.Edit2}) {
        edit->setFocus();
        QTest::keyClicks(edit, "abc");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Enter);
        QTest::keyClick(edit, Qt::Key_Escape);
    }
    QTest::keyClick(w.DBGrid1, Qt::Key_Escape);
    QTest::keyClick(w.DBGrid1, Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(!p.query().isActive());
    QVERIFY(p.exportDisabled());
    QVERIFY(w.isVisible());
    QCOMPARE(w.Edit1->text(), QStringLiteral("abc"));
}

void TestMainWindow::exitClosesAtOnce() {
    kb::ui::ScopedScriptedDialogs dialogs;
    TFormMain w;
    QVERIFY(showActive(w));
    w.N2->trigger();
    QVERIFY(!w.isVisible());
    QVERIFY(dialogs->calls().empty());
}

void TestMainWindow::handlerWithoutDataModuleFails() {
    TFormMain window;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, window.N10Click());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
