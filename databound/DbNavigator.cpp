#include "DbNavigator.h"

#include "DataSet.h"
#include "DataSource.h"
#include "ErrorReporting.h"
#include "ModalDialogs.h"
#include "NavButton.h"
#include "Table.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <algorithm>

// The pictures live in the resources of a static library: they must be
// registered by name (outside any namespace) before the first navigator needs them.
static void registerPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(navigator);
        return true;
    }();
    (void)registered;
}

namespace kb::databound {

namespace {

constexpr const char* kButtonNames[kNavigatorButtonCount] = {"first",  "prior", "next", "last",   "insert",
                                                             "delete", "edit",  "post", "cancel", "refresh"};

constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 25;

} // namespace

DbNavigator::DbNavigator(QWidget* parent) : QWidget(parent) {
    registerPictures();
    // A click takes the focus from the control being typed in (see takeFocus);
    // the buttons themselves never hold it, the keyboard reaches them through
    // the navigator.
    setFocusPolicy(Qt::StrongFocus);
    for (int i = 0; i < kNavigatorButtonCount; ++i) {
        const auto which = NavigatorButton(i);
        const QString name = QString::fromLatin1(kButtonNames[i]);
        auto* button = new NavButton(this);
        button->setObjectName(name);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIcon(QIcon(QStringLiteral(":/navigator/%1.png").arg(name)));
        button->setIconSize(QSize(16, 16));
        button->setEnabled(false);
        connect(button, &QToolButton::clicked, this, [this, which] { clicked(which); });
        buttons_[size_t(i)] = button;
    }
    placeButtons();
}

// Left and Right choose the button the keyboard acts on, Space presses it.
void DbNavigator::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        showFocusOn(std::max(focused_ - 1, 0));
        break;
    case Qt::Key_Right:
        showFocusOn(std::min(focused_ + 1, kNavigatorButtonCount - 1));
        break;
    case Qt::Key_Space:
        buttons_[size_t(focused_)]->click(); // a disabled button ignores it
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void DbNavigator::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    showFocusOn(focused_);
}

void DbNavigator::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    showFocusOn(focused_);
}

void DbNavigator::showFocusOn(int button) {
    focused_ = button;
    for (int i = 0; i < kNavigatorButtonCount; ++i)
        buttons_[size_t(i)]->setFocusFrame(i == focused_ && hasFocus());
}

QSize DbNavigator::sizeHint() const {
    return {kNavigatorButtonCount * kButtonWidth, kButtonHeight};
}

void DbNavigator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeButtons();
}

// Equal widths; what does not divide evenly goes one pixel each to the
// leftmost buttons, so together they fill the navigator exactly.
void DbNavigator::placeButtons() {
    const int base = width() / kNavigatorButtonCount;
    const int extra = width() % kNavigatorButtonCount;
    int x = 0;
    for (int i = 0; i < kNavigatorButtonCount; ++i) {
        const int w = base + (i < extra ? 1 : 0);
        buttons_[size_t(i)]->setGeometry(x, 0, w, height());
        x += w;
    }
}

void DbNavigator::setDataSource(dataset::DataSource* source) {
    link_.setDataSource(source);
}

void DbNavigator::updateButtons() {
    const NavigatorEnabling enabling = navigatorEnabling(link_.dataSet());
    for (int i = 0; i < kNavigatorButtonCount; ++i)
        buttons_[size_t(i)]->setEnabled(enabling[size_t(i)]);
}

// Delivered like every event handler's error: to the default error handler,
// never through Qt's signal dispatch.
void DbNavigator::clicked(NavigatorButton which) noexcept {
    showFocusOn(int(which)); // a clicked button is the one the keyboard acts on next
    try {
        act(which);
    } catch (...) {
        ui::reportError(std::current_exception());
    }
}

// The control that holds the focus in this window gives it up before the
// navigator acts; losing it writes its text into its field. False when it
// keeps the focus (its text was refused).
bool DbNavigator::takeFocus() {
    QWidget* focused = QApplication::focusWidget();
    if (!focused || focused == this || focused->window() != window())
        return true;
    setFocus(Qt::MouseFocusReason);
    return QApplication::focusWidget() != focused;
}

void DbNavigator::act(NavigatorButton which) {
    dataset::DataSet* dataSet = link_.dataSet();
    if (!enables(navigatorEnabling(dataSet), which) || !takeFocus())
        return;
    // Taking the focus may have changed the state (the control's text posted
    // or refused): the button must still be enabled.
    dataSet = link_.dataSet();
    if (!enables(navigatorEnabling(dataSet), which))
        return;
    auto* table = qobject_cast<dataset::Table*>(dataSet); // every button past "last" needs a table object
    switch (which) {
    case NavigatorButton::First:
        dataSet->first();
        break;
    case NavigatorButton::Prior:
        dataSet->prior();
        break;
    case NavigatorButton::Next:
        dataSet->next();
        break;
    case NavigatorButton::Last:
        dataSet->last();
        break;
    case NavigatorButton::Insert:
        table->insert();
        break;
    case NavigatorButton::Delete:
        if (ui::dialogs().confirm(QStringLiteral("Confirm"), QStringLiteral("Delete record?")))
            table->remove();
        break;
    case NavigatorButton::Edit:
        table->edit();
        break;
    case NavigatorButton::Post:
        table->post();
        break;
    case NavigatorButton::Cancel:
        table->cancel();
        break;
    case NavigatorButton::Refresh:
        table->refresh();
        break;
    }
}

} // namespace kb::databound
