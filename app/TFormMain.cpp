#include "TFormMain.h"

#include "AppearanceSetup.h"
#include "ApplicationTitle.h"
#include "ClassRegistry.h"
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

namespace {

constexpr int kClientWidth = 794;
constexpr int kClientHeight = 568;
constexpr int kGridMargin = 5;
constexpr int kPanelHeight = 96;

QPushButton* makeButton(QWidget* panel, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(kb::app::uiFont(11, true));
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
      SaveDialog{QStringLiteral("txt"), QStringLiteral("*.txt (*.txt)"), QString(), QString()} {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Информационно-справочная система бухгалтера отдела культуры"));
    setFont(kb::app::uiFont(11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);

    buildMenu();
    buildClientArea();
    buildTabOrder();

    resize(designedSize());
    centreOnScreen();
    DBGrid1->setFocus();
}

TFormMain::~TFormMain() = default;

void TFormMain::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    N1 = makeMenu(bar, "N1", QStringLiteral("Меню"));
    N11 = makeAction(N1, "N11", QStringLiteral("Напечатать"));
    Excel1 = makeAction(N1, "Excel1", QStringLiteral("Экспорт результатов в Excel"));
    N2 = makeAction(N1, "N2", QStringLiteral("Выход"));
    N11->setEnabled(false);
    Excel1->setEnabled(false);

    N3 = makeMenu(bar, "N3", QStringLiteral("База данных"));
    N4 = makeAction(N3, "N4", QStringLiteral("Сотрудники"));
    N5 = makeAction(N3, "N5", QStringLiteral("Должности"));
    N6 = makeAction(N3, "N6", QStringLiteral("Оклад"));
    N7 = makeAction(N3, "N7", QStringLiteral("Премия"));
    N12 = makeAction(N3, "N12", QStringLiteral("Отработанные часы"));

    N9 = makeMenu(bar, "N9", QStringLiteral("Справочник"));
    N10 = makeAction(N9, "N10", QStringLiteral("Сотрудники"));

    // A command right on the menu bar: one click runs it.
    N8 = bar->addAction(QStringLiteral("Помощь"));
    N8->setObjectName(QStringLiteral("N8"));

    kb::ui::connectHandler(N11, &QAction::triggered, this, &TFormMain::N11Click);
    kb::ui::connectHandler(Excel1, &QAction::triggered, this, &TFormMain::Excel1Click);
    kb::ui::connectHandler(N2, &QAction::triggered, this, &TFormMain::N2Click);
    kb::ui::connectHandler(N4, &QAction::triggered, this, &TFormMain::N4Click);
    kb::ui::connectHandler(N5, &QAction::triggered, this, &TFormMain::N5Click);
    kb::ui::connectHandler(N6, &QAction::triggered, this, &TFormMain::N6Click);
    kb::ui::connectHandler(N7, &QAction::triggered, this, &TFormMain::N7Click);
    kb::ui::connectHandler(N12, &QAction::triggered, this, &TFormMain::N12Click);
    kb::ui::connectHandler(N10, &QAction::triggered, this, &TFormMain::N10Click);
    kb::ui::connectHandler(N8, &QAction::triggered, this, &TFormMain::N8Click);
}

void TFormMain::buildClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The grid takes every pixel the panel leaves, less its margin.
    DBGrid1 = new kb::databound::ResultGrid(client);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->horizontalHeader()->setFont(kb::app::uiFont(11));
    auto* gridBox = new QVBoxLayout;
    gridBox->setContentsMargins(kGridMargin, kGridMargin, kGridMargin, kGridMargin);
    gridBox->addWidget(DBGrid1);
    column->addLayout(gridBox, 1);

    // The panel keeps its height and its controls keep their places.
    Panel1 = new QFrame(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setFixedHeight(kPanelHeight);
    column->addWidget(Panel1, 0);

    DateTimePicker1 = new MonthPicker(Panel1);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(12, 3, 109, 21);
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setTimeSpec(Qt::UTC);
    DateTimePicker1->setDisplayFormat(QStringLiteral("MM.yyyy"));
    DateTimePicker1->setDateTime(QDateTime(QDate(2013, 4, 1), QTime(12, 32, 52), Qt::UTC));

    Button1 = makeButton(Panel1, "Button1", QStringLiteral("Зароботная плата за выбранный месяц"), {127, 3, 266, 25});
    Button5 = makeButton(Panel1, "Button5", QStringLiteral("Расчётный лист"), {399, 3, 155, 25});
    Button4 = makeButton(Panel1, "Button4", QStringLiteral("Экспорт результатов в Excel"), {560, 3, 229, 86});
    Button4->setEnabled(false);
    Edit1 = makeEdit(Panel1, "Edit1", {12, 34, 173, 21});
    Button2 = makeButton(Panel1, "Button2", QStringLiteral("Поиск сотрудника по ФИО"), {191, 34, 363, 25});
    Edit2 = makeEdit(Panel1, "Edit2", {12, 65, 173, 21});
    Button3 = makeButton(Panel1, "Button3", QStringLiteral("Поиск сотрудников по должности"), {191, 65, 363, 25});

    kb::ui::connectHandler(Button1, &QPushButton::clicked, this, &TFormMain::Button1Click);
    kb::ui::connectHandler(Button2, &QPushButton::clicked, this, &TFormMain::Button2Click);
    kb::ui::connectHandler(Button3, &QPushButton::clicked, this, &TFormMain::Button3Click);
    kb::ui::connectHandler(Button4, &QPushButton::clicked, this, &TFormMain::Button4Click);
    kb::ui::connectHandler(Button5, &QPushButton::clicked, this, &TFormMain::Button5Click);

    setCentralWidget(client);
}

void TFormMain::buildTabOrder() {
    // The grid comes first, then the panel's controls in their own order.
    QWidget* const chain[] = {DBGrid1, Button1, DateTimePicker1, Edit1, Button2, Edit2, Button3, Button4, Button5};
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

void TFormMain::FormCreate() {
    ShowSplash();
}

void TFormMain::bindData(TDataM& dataModule) {
    dataModule_ = &dataModule;
    DBGrid1->setDataSource(dataModule.DataSource);
}

void TFormMain::enableExportCommands() {
    Button4->setEnabled(true);
    Excel1->setEnabled(true);
    N11->setEnabled(true);
}

void TFormMain::runOnGrid(const kb::reports::GridRequest& request) {
    if (!loadedDataModule().ADOQuery)
        throw std::runtime_error("Модуль данных не загружен");
    kb::reports::runGridQuery(request, *dataModule_->ADOQuery, *DBGrid1, [this] { enableExportCommands(); });
}

void TFormMain::Button1Click() {
    runOnGrid(kb::reports::salaryStatement(DateTimePicker1->dateTime()));
}

void TFormMain::Button2Click() {
    runOnGrid(kb::reports::nameSearch(Edit1->text()));
}

void TFormMain::Button3Click() {
    runOnGrid(kb::reports::positionSearch(Edit2->text()));
}

void TFormMain::N10Click() {
    runOnGrid(kb::reports::employeeList());
}

void TFormMain::Button5Click() {
    if (!loadedDataModule().ADOQuery1)
        throw std::runtime_error("Модуль данных не загружен");
    kb::reports::runPaySlip(*dataModule_->ADOQuery1, DateTimePicker1->dateTime(),
                            {this, SaveDialog, kb::app::applicationTitle()});
}

void TFormMain::N2Click() {
    close();
}

void TFormMain::ExportToExcel(bool Print) {
    if (!loadedDataModule().ADOQuery)
        throw std::runtime_error("Модуль данных не загружен");
    kb::reports::exportToExcel(kb::automation::classRegistry(), *dataModule_->ADOQuery, *DBGrid1, Print);
}

void TFormMain::Button4Click() {
    ExportToExcel(false);
}

void TFormMain::Excel1Click() {
    ExportToExcel(false);
}

void TFormMain::N11Click() {
    ExportToExcel(true);
}

TDataM& TFormMain::loadedDataModule() const {
    if (!dataModule_)
        throw std::runtime_error("Модуль данных не загружен");
    return *dataModule_;
}

// A record editor belongs to no window of the program: it is shown modally,
// destroyed when the showing ends, and the main window refreshes nothing.
template <typename Form> void TFormMain::showEditor() {
    Form form(loadedDataModule(), this);
    kb::ui::dialogs().execDialog(form);
}

void TFormMain::N4Click() {
    showEditor<kb::editors::TFormSotr>();
}

void TFormMain::N5Click() {
    showEditor<kb::editors::TFormDolznost>();
}

void TFormMain::N6Click() {
    showEditor<kb::editors::TFormStavka>();
}

void TFormMain::N7Click() {
    showEditor<kb::editors::TFormPremia>();
}

void TFormMain::N12Click() {
    showEditor<kb::editors::TFormOtrChas>();
}

// Ending the program must not lose an edit the accountant has not posted:
// each table with one is asked about first.
void TFormMain::closeEvent(QCloseEvent* event) {
    if (dataModule_ && !kb::app::settlePendingEdits(*dataModule_)) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// The help text, piece by piece with nothing between the pieces; each
// paragraph ends with LF CR. The text words two buttons its own way
// ("Заработная плата ...", "Поиск сотрудника по должности"), not as their
// captions read.
void TFormMain::N8Click() {
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
    ShowInfoMsg(help);
}
