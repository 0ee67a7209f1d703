#include "TFormMain.h"

#include "AppearanceSetup.h"
#include "ApplicationTitle.h"
#include "ClassRegistry.h"
#include "Connection.h"
#include "DataModule.h"
#include "ErrorReporting.h"
#include "ExportToExcel.h"
#include "GridQueryRun.h"
#include "MsgDlg.h"
#include "PaySlipRun.h"
#include "PendingEdits.h"
#include "Query.h"
#include "ResultGrid.h"
#include "Statements.h"
#include "TFormDolznost.h"
#include "TFormOtrChas.h"
#include "TFormPremia.h"
#include "TFormSotr.h"
#include "TFormStavka.h"
#include "TFormZ.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>

namespace kb::app {

namespace {

constexpr int kClientWidth = 794;
constexpr int kClientHeight = 568;
constexpr int kGridMargin = 5;
constexpr int kPanelHeight = 96;

QPushButton* makeButton(QWidget* panel, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(uiFont(11, true));
    // No button is a default one: Enter in an edit box starts nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLineEdit* makeEdit(QWidget* panel, const char* name, const QRect& geometry) {
    auto* edit = new QLineEdit(panel);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

QAction* makeAction(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// A month picker on which Tab goes on to the next control instead of from
// the month to the year; the arrow keys move between them.
class MonthPicker : public QDateTimeEdit {
public:
    using QDateTimeEdit::QDateTimeEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QAbstractSpinBox::focusNextPrevChild(next); }
};

QMenu* makeMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

TFormMain::TFormMain(QWidget* parent)
    : QMainWindow(parent),
      // The one filter entry "*.txt|*.txt"; a name typed without an
      // extension gets ".txt" (the extension itself, not the pattern "*.txt").
      paySlipSaveDialog{QStringLiteral("txt"), QStringLiteral("*.txt (*.txt)"), QString(), QString()} {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Информационно-справочная система бухгалтера отдела культуры"));
    setFont(uiFont(11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);

    buildMenu();
    buildClientArea();
    buildTabOrder();

    resize(designedSize());
    centreOnScreen();
    resultGrid->setFocus();
}

TFormMain::~TFormMain() = default;

void TFormMain::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    commandMenu = makeMenu(bar, "N1", QStringLiteral("Меню"));
    printAction = makeAction(commandMenu, "N11", QStringLiteral("Напечатать"));
    exportAction = makeAction(commandMenu, "Excel1", QStringLiteral("Экспорт результатов в Excel"));
    exitAction = makeAction(commandMenu, "N2", QStringLiteral("Выход"));
    printAction->setEnabled(false);
    exportAction->setEnabled(false);

    databaseMenu = makeMenu(bar, "N3", QStringLiteral("База данных"));
    staffEditorAction = makeAction(databaseMenu, "N4", QStringLiteral("Сотрудники"));
    positionEditorAction = makeAction(databaseMenu, "N5", QStringLiteral("Должности"));
    salaryEditorAction = makeAction(databaseMenu, "N6", QStringLiteral("Оклад"));
    bonusEditorAction = makeAction(databaseMenu, "N7", QStringLiteral("Премия"));
    daysEditorAction = makeAction(databaseMenu, "N12", QStringLiteral("Отработанные часы"));

    referenceMenu = makeMenu(bar, "N9", QStringLiteral("Справочник"));
    staffListAction = makeAction(referenceMenu, "N10", QStringLiteral("Сотрудники"));

    // A command right on the menu bar: one click runs it.
    helpAction = bar->addAction(QStringLiteral("Помощь"));
    helpAction->setObjectName(QStringLiteral("N8"));

    // The documents' menu comes last, after every item above.
    documentsMenu = documents::addDocumentsMenu(
        *bar, this, [this]() -> sql::Connection& { return *loadedDataModule().connection; },
        [this] { return monthPicker->dateTime(); });

    ui::connectHandler(printAction, &QAction::triggered, this, &TFormMain::printResult);
    ui::connectHandler(exportAction, &QAction::triggered, this, &TFormMain::exportToSpreadsheet);
    ui::connectHandler(exitAction, &QAction::triggered, this, &TFormMain::exitProgram);
    ui::connectHandler(staffEditorAction, &QAction::triggered, this, &TFormMain::openStaffEditor);
    ui::connectHandler(positionEditorAction, &QAction::triggered, this, &TFormMain::openPositionEditor);
    ui::connectHandler(salaryEditorAction, &QAction::triggered, this, &TFormMain::openSalaryRateEditor);
    ui::connectHandler(bonusEditorAction, &QAction::triggered, this, &TFormMain::openBonusEditor);
    ui::connectHandler(daysEditorAction, &QAction::triggered, this, &TFormMain::openDaysWorkedEditor);
    ui::connectHandler(staffListAction, &QAction::triggered, this, &TFormMain::listAllStaff);
    ui::connectHandler(helpAction, &QAction::triggered, this, &TFormMain::showHelp);
}

void TFormMain::buildClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The grid takes every pixel the panel leaves, less its margin.
    resultGrid = new databound::ResultGrid(client);
    resultGrid->setObjectName(QStringLiteral("DBGrid1"));
    resultGrid->horizontalHeader()->setFont(uiFont(11));
    auto* gridBox = new QVBoxLayout;
    gridBox->setContentsMargins(kGridMargin, kGridMargin, kGridMargin, kGridMargin);
    gridBox->addWidget(resultGrid);
    column->addLayout(gridBox, 1);

    // The panel keeps its height and its controls keep their places.
    controlPanel = new QFrame(client);
    controlPanel->setObjectName(QStringLiteral("Panel1"));
    controlPanel->setFrameShape(QFrame::NoFrame);
    controlPanel->setFixedHeight(kPanelHeight);
    column->addWidget(controlPanel, 0);

    monthPicker = new MonthPicker(controlPanel);
    monthPicker->setObjectName(QStringLiteral("DateTimePicker1"));
    monthPicker->setGeometry(12, 3, 109, 21);
    monthPicker->setCalendarPopup(true);
    monthPicker->setTimeSpec(Qt::UTC);
    monthPicker->setDisplayFormat(QStringLiteral("MM.yyyy"));
    monthPicker->setDateTime(QDateTime(QDate(2013, 4, 1), QTime(12, 32, 52), Qt::UTC));

    statementButton =
        makeButton(controlPanel, "Button1", QStringLiteral("Зароботная плата за выбранный месяц"), {127, 3, 266, 25});
    paySlipButton = makeButton(controlPanel, "Button5", QStringLiteral("Расчётный лист"), {399, 3, 155, 25});
    exportButton =
        makeButton(controlPanel, "Button4", QStringLiteral("Экспорт результатов в Excel"), {560, 3, 229, 86});
    exportButton->setEnabled(false);
    nameEdit = makeEdit(controlPanel, "Edit1", {12, 34, 173, 21});
    nameSearchButton =
        makeButton(controlPanel, "Button2", QStringLiteral("Поиск сотрудника по ФИО"), {191, 34, 363, 25});
    positionEdit = makeEdit(controlPanel, "Edit2", {12, 65, 173, 21});
    positionSearchButton =
        makeButton(controlPanel, "Button3", QStringLiteral("Поиск сотрудников по должности"), {191, 65, 363, 25});

    ui::connectHandler(statementButton, &QPushButton::clicked, this, &TFormMain::showSalaryStatement);
    ui::connectHandler(nameSearchButton, &QPushButton::clicked, this, &TFormMain::searchByName);
    ui::connectHandler(positionSearchButton, &QPushButton::clicked, this, &TFormMain::searchByPosition);
    ui::connectHandler(exportButton, &QPushButton::clicked, this, &TFormMain::exportToSpreadsheet);
    ui::connectHandler(paySlipButton, &QPushButton::clicked, this, &TFormMain::writePaySlip);

    setCentralWidget(client);
}

void TFormMain::buildTabOrder() {
    // The grid comes first, then the panel's controls in their own order.
    QWidget* const chain[] = {resultGrid,   statementButton,      monthPicker,  nameEdit,     nameSearchButton,
                              positionEdit, positionSearchButton, exportButton, paySlipButton};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QSize TFormMain::designedSize() const {
    int menuHeight = menuBar()->heightForWidth(kClientWidth);
    if (menuHeight < 0)
        menuHeight = menuBar()->sizeHint().height();
    return {kClientWidth, kClientHeight + menuHeight};
}

void TFormMain::centreOnScreen() {
    // The frame is known only once the window exists on the screen; until
    // then its size is the window's own.
    if (const QScreen* desktop = screen())
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(), desktop->availableGeometry())
                 .topLeft());
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!placed_) {
        placed_ = true;
        centreOnScreen();
    }
}

// The border is fixed: in the normal state the window always returns to its
// designed size, whoever resized it. Maximising still works, because the
// window sets no size limits: a window manager offers no maximise button for
// a window whose minimum and maximum sizes are equal.
bool TFormMain::inNormalState() const {
    return !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}

void TFormMain::keepDesignedSize() {
    sizeRestorePending_ = false;
    if (inNormalState() && size() != designedSize())
        resize(designedSize());
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Deferred, so that a window manager that reports the new size before
    // the new state is not fought while it maximises the window.
    if (!sizeRestorePending_ && inNormalState() && event->size() != designedSize()) {
        sizeRestorePending_ = true;
        QTimer::singleShot(0, this, &TFormMain::keepDesignedSize);
    }
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && inNormalState())
        keepDesignedSize();
}

void TFormMain::showSplash(const QString& note) {
    runSplashScreen(note);
}

void TFormMain::showDatabaseNote(const QString& note) {
    controlPanel->setToolTip(note);
}

void TFormMain::bindData(dataset::TDataM& dataModule) {
    dataModule_ = &dataModule;
    resultGrid->setDataSource(dataModule.sharedSource);
}

dataset::TDataM& TFormMain::loadedDataModule() const {
    if (!dataModule_)
        throw std::runtime_error("Модуль данных не загружен");
    return *dataModule_;
}

void TFormMain::enableExportCommands() {
    exportButton->setEnabled(true);
    exportAction->setEnabled(true);
    printAction->setEnabled(true);
}

void TFormMain::runOnGrid(const reports::GridRequest& request) {
    reports::runGridQuery(request, *loadedDataModule().sharedQuery, *resultGrid, [this] { enableExportCommands(); });
}

void TFormMain::showSalaryStatement() {
    runOnGrid(reports::salaryStatement(monthPicker->dateTime()));
}

void TFormMain::searchByName() {
    runOnGrid(reports::nameSearch(nameEdit->text()));
}

void TFormMain::searchByPosition() {
    runOnGrid(reports::positionSearch(positionEdit->text()));
}

void TFormMain::listAllStaff() {
    runOnGrid(reports::employeeList());
}

void TFormMain::writePaySlip() {
    reports::runPaySlip(*loadedDataModule().slipQuery, monthPicker->dateTime(),
                        {this, paySlipSaveDialog, applicationTitle()});
}

void TFormMain::exitProgram() {
    close();
}

void TFormMain::exportGrid(bool print) {
    reports::exportToExcel(automation::classRegistry(), *loadedDataModule().sharedQuery, *resultGrid, print);
}

void TFormMain::exportToSpreadsheet() {
    exportGrid(false);
}

void TFormMain::printResult() {
    exportGrid(true);
}

// A record editor belongs to no window of the program: it is shown modally,
// destroyed when the showing ends, and the main window refreshes nothing.
template <typename Form> void TFormMain::showEditor() {
    Form form(loadedDataModule(), this);
    ui::dialogs().execDialog(form);
}

void TFormMain::openStaffEditor() {
    showEditor<editors::TFormSotr>();
}

void TFormMain::openPositionEditor() {
    showEditor<editors::TFormDolznost>();
}

void TFormMain::openSalaryRateEditor() {
    showEditor<editors::TFormStavka>();
}

void TFormMain::openBonusEditor() {
    showEditor<editors::TFormPremia>();
}

void TFormMain::openDaysWorkedEditor() {
    showEditor<editors::TFormOtrChas>();
}

// Ending the program must not lose an edit the accountant has not posted:
// each table with one is asked about first.
void TFormMain::closeEvent(QCloseEvent* event) {
    if (dataModule_ && !settlePendingEdits(*dataModule_)) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// The help text, piece by piece with nothing between the pieces; each
// paragraph ends with LF CR. The text words two buttons its own way
// ("Заработная плата ...", "Поиск сотрудника по должности"), not as their
// captions read.
void TFormMain::showHelp() {
    QString help = QStringLiteral("Информационно-справочная система бухгалтера в отделе культуры.\n\r");
    help += QStringLiteral("Доступ к базе данных осуществляется с помощью меню \"База данных\".");
    help += QStringLiteral("\n\r");
    help += QStringLiteral("Для того, что бы рассчитать заработную плату за определённый месяц,");
    help += QStringLiteral("нужно указать месяц в нижней части главной формы и нажать кнопку "
                           "\"Заработная плата за выбранный месяц\".");
    help += QStringLiteral("\n\r");
    help += QStringLiteral("Для поиска сотрудника необходимо задать ФИО сотрудника и нажать кнопку "
                           "\"Поиск сотрудника по ФИО\".");
    help += QStringLiteral("\n\r");
    help += QStringLiteral("Для поиска сотрудников по занимаемой ими должности, необходимо указать должность и "
                           "нажать кнопку \"Поиск сотрудника по должности\".");
    help += QStringLiteral("\n\r");
    ui::ShowInfoMsg(help);
}

} // namespace kb::app
