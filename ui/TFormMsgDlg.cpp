#include "TFormMsgDlg.h"

#include "BevelPanel.h"
#include "ErrorReporting.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

// The pictures live in the resources of a static library: they must be
// registered by name (outside any namespace).
static void registerPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(msgdlg);
        return true;
    }();
    (void)registered;
}

namespace kb::ui {

namespace {

using Anchors = AnchoredPlacement::Anchors;
constexpr Anchors kAllSides =
    AnchoredPlacement::Left | AnchoredPlacement::Top | AnchoredPlacement::Right | AnchoredPlacement::Bottom;
constexpr Anchors kTopRight = AnchoredPlacement::Top | AnchoredPlacement::Right;
constexpr Anchors kRightBottom = AnchoredPlacement::Right | AnchoredPlacement::Bottom;

const QString kMoreCaption = QStringLiteral("Ещё >>");
const QString kLessCaption = QStringLiteral("<< Ещё");

struct KindLook {
    QLabel* TFormMsgDlg::*icon;
    QString title;
    QColor titleColour;
    QColor textColour;
};

// By kind: MsgWarning, MsgError, MsgInformation, MsgQuestion.
const KindLook kKinds[] = {
    {&TFormMsgDlg::warningIcon, QStringLiteral("Замечание"), QColor(0xff, 0xff, 0x00), QColor(0x80, 0x80, 0x00)},
    {&TFormMsgDlg::errorIcon, QStringLiteral("Ошибка"), QColor(0xff, 0x00, 0x00), QColor(0x80, 0x00, 0x00)},
    {&TFormMsgDlg::informationIcon, QStringLiteral("Сообщение"), QColor(0x00, 0x00, 0xff), QColor(0x00, 0x00, 0x80)},
    {&TFormMsgDlg::questionIcon, QStringLiteral("Вопрос"), QColor(0x00, 0xff, 0x00), QColor(0x00, 0x80, 0x00)},
};

// The window's font family (the one the program uses everywhere) at a
// character height in pixels.
QFont windowFont(int pixelSize, bool bold = false) {
    QFont font(QApplication::font().family());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, colour);
    widget->setPalette(colours);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QFont& font, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    setTextColour(label, colour);
    return label;
}

QLabel* makeIcon(QWidget* parent, const char* name, const QString& resource) {
    auto* icon = new QLabel(parent);
    icon->setObjectName(QString::fromLatin1(name));
    icon->setPixmap(QPixmap(resource));
    icon->hide();
    return icon;
}

// Every line break as CR LF: a lone LF or a lone CR becomes CR LF, a CR LF
// pair stays as it is.
QString withCrLf(const QString& text) {
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        if (ch == u'\r' || ch == u'\n')
            result += QLatin1String("\r\n");
        else
            result += ch;
    }
    return result;
}

} // namespace

TFormMsgDlg::TFormMsgDlg(QWidget* parent)
    // No system menu and no caption buttons; the window manager still lets
    // the user maximise the window from its title bar and close it.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FormMsgDlg"));
    setWindowTitle(QStringLiteral("Обратите внимание !"));
    setFont(windowFont(11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    registerPictures();
    for (size_t i = 0; i < buttonPictures.size(); ++i)
        buttonPictures[i] = QPixmap(QStringLiteral(":/msgdlg/picture-%1.png").arg(i));

    buildControls();
    buildAnswerButtons();
    buildTabOrder();

    setMinimumSize(kMinimumOuterSize);
    resize(kClientSize);
}

void TFormMsgDlg::buildControls() {
    background = new BevelPanel(this, false, 2, 8);
    background->setObjectName(QStringLiteral("PanelBG"));
    background->setMinimumSize(398, 182);
    placement_.add(background, QRect(QPoint(0, 0), kClientSize), kAllSides);

    textPanel = new BevelPanel(background, true, 1, 8);
    textPanel->setObjectName(QStringLiteral("PaneText"));
    placement_.add(textPanel, {10, 10, 484, 244}, kAllSides);
    textLabel = makeLabel(textPanel, "LabelText", windowFont(11, true), Qt::black);
    textLabel->setWordWrap(true);
    auto* textBox = new QVBoxLayout(textPanel);
    textBox->setContentsMargins(0, 0, 0, 0);
    textBox->addWidget(textLabel);

    detailsMemo = new QPlainTextEdit(background);
    detailsMemo->setObjectName(QStringLiteral("Memo"));
    detailsMemo->setReadOnly(true);
    detailsMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    detailsMemo->setFocusPolicy(Qt::StrongFocus);
    detailsMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    detailsMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    detailsMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette memoColours = detailsMemo->palette();
    memoColours.setColor(QPalette::Base, memoColours.color(QPalette::Button));
    detailsMemo->setPalette(memoColours);
    detailsMemo->hide();
    detailsMemo->installEventFilter(this);
    placement_.add(detailsMemo, {10, 10, 481, 244}, kAllSides);

    const struct {
        QLabel* TFormMsgDlg::*member;
        const char* name;
        const char* file;
    } icons[] = {{&TFormMsgDlg::questionIcon, "ImageAsk", "question"},
                 {&TFormMsgDlg::warningIcon, "ImageWrn", "warning"},
                 {&TFormMsgDlg::informationIcon, "ImageInf", "information"},
                 {&TFormMsgDlg::errorIcon, "ImageErr", "error"}};
    for (const auto& icon : icons) {
        this->*icon.member =
            makeIcon(background, icon.name, QStringLiteral(":/msgdlg/icon-%1.png").arg(QLatin1String(icon.file)));
        placement_.add(this->*icon.member, {514, 10, 48, 48}, kTopRight);
    }

    // The white shadow first, so the title is drawn over it.
    titleShadow = makeLabel(background, "LabelTitleBK", windowFont(12, true), Qt::white);
    titleShadow->setAutoFillBackground(true);
    placement_.add(titleShadow, {499, 125, 79, 13}, kRightBottom);
    titleLabel = makeLabel(background, "LabelTitle", windowFont(12, true), Qt::black);
    placement_.add(titleLabel, {498, 124, 79, 13}, kRightBottom);
}

QPushButton* TFormMsgDlg::makeButton(const char* name, const QRect& designed) {
    auto* button = new QPushButton(background);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setIconSize(QSize(16, 16));
    button->installEventFilter(this);
    placement_.add(button, designed, kRightBottom);
    return button;
}

void TFormMsgDlg::buildAnswerButtons() {
    topButton = makeButton("BitBtnUp", {498, 144, 79, 23});
    middleButton = makeButton("BitBtnMid", {498, 173, 79, 24});
    bottomButton = makeButton("BitBtnDn", {498, 201, 79, 24});
    bottomButton->setDefault(true);
    answerButtons_ = {topButton, middleButton, bottomButton};
    for (size_t place = 0; place < answerButtons_.size(); ++place) {
        QPushButton* button = answerButtons_[place];
        button->hide();
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, place] { done(resultCodes_[place]); });
    }

    detailsToggle = makeButton("BitBtnMore", {498, 229, 79, 24});
    detailsToggle->setText(kMoreCaption);
    detailsToggle->setEnabled(false);
    connectHandler(detailsToggle, &QPushButton::clicked, this, &TFormMsgDlg::toggleDetails);
}

void TFormMsgDlg::buildTabOrder() {
    QWidget* const chain[] = {topButton, middleButton, bottomButton, detailsToggle, detailsMemo};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TFormMsgDlg::setMessage(const QString& text, const QString& details) {
    textLabel->setText(text);
    if (!details.isEmpty()) {
        // The details start on a line of their own under the message.
        detailsMemo->setPlainText(withCrLf(text + u'\r' + details));
        detailsToggle->setEnabled(true);
    }
}

void TFormMsgDlg::applyKind(TMsgKind kind) {
    if (kind >= std::size(kKinds))
        return;
    const KindLook& look = kKinds[kind];
    (this->*look.icon)->show();
    titleLabel->setText(look.title);
    titleShadow->setText(titleLabel->text());
    setTextColour(titleLabel, look.titleColour);
    setTextColour(textLabel, look.textColour);
}

void TFormMsgDlg::placeButtons(const MsgButtonSlots& places) {
    for (size_t place = 0; place < places.size(); ++place) {
        if (places[place])
            fillSlot(static_cast<int>(place), *places[place]);
    }
}

void TFormMsgDlg::fillSlot(int place, const MsgButtonLook& look) {
    QPushButton* button = answerButtons_[place];
    button->setIcon(look.picture >= 0 ? QIcon(buttonPictures[look.picture]) : QIcon());
    button->setText(look.caption);
    button->show();
    button->setEnabled(true);
    resultCodes_[place] = look.result;
    if (look.cancel)
        cancelButton_ = button;
}

void TFormMsgDlg::toggleDetails() {
    const bool showDetails = detailsToggle->text() == kMoreCaption;
    detailsToggle->setText(showDetails ? kLessCaption : kMoreCaption);
    detailsMemo->setVisible(showDetails);
    textPanel->setVisible(!showDetails);
}

void TFormMsgDlg::reject() {
    done(IdCancel);
}

// Enter presses the focused button, Escape the cancel button, and neither
// does anything while a modifier key is held; both never reach the
// controls or the dialog's own handling.
bool TFormMsgDlg::handleDialogKey(const QKeyEvent& event) {
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape)
        return false;
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return true;
    QPushButton* target = cancelButton_;
    if (enter)
        target = qobject_cast<QPushButton*>(focusWidget());
    if (target && target->isVisible() && target->isEnabled())
        target->click();
    return true;
}

bool TFormMsgDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && handleDialogKey(static_cast<const QKeyEvent&>(*event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TFormMsgDlg::keyPressEvent(QKeyEvent* event) {
    if (!handleDialogKey(*event))
        QDialog::keyPressEvent(event);
}

void TFormMsgDlg::focusFirstControl() {
    QWidget* const order[] = {topButton, middleButton, bottomButton, detailsToggle, detailsMemo};
    for (QWidget* control : order) {
        if (!control->isHidden() && control->isEnabled()) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

// The limit is on the outer size; the frame the window system draws is
// known only once the window is on the screen.
void TFormMsgDlg::keepMinimumOuterSize() {
    const QSize frame = frameGeometry().size() - size();
    const QSize minimum = (kMinimumOuterSize - frame).expandedTo(background->minimumSize());
    if (minimum != minimumSize())
        setMinimumSize(minimum);
}

void TFormMsgDlg::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), frameGeometry().size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

void TFormMsgDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        centreOnScreen();
        focusFirstControl();
    }
    keepMinimumOuterSize();
}

void TFormMsgDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    keepMinimumOuterSize();
}

void TFormMsgDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placement_.apply(size());
}

} // namespace kb::ui
