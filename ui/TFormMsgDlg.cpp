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
    {&TFormMsgDlg::ImageWrn, QStringLiteral("Замечание"), QColor(0xff, 0xff, 0x00), QColor(0x80, 0x80, 0x00)},
    {&TFormMsgDlg::ImageErr, QStringLiteral("Ошибка"), QColor(0xff, 0x00, 0x00), QColor(0x80, 0x00, 0x00)},
    {&TFormMsgDlg::ImageInf, QStringLiteral("Сообщение"), QColor(0x00, 0x00, 0xff), QColor(0x00, 0x00, 0x80)},
    {&TFormMsgDlg::ImageAsk, QStringLiteral("Вопрос"), QColor(0x00, 0xff, 0x00), QColor(0x00, 0x80, 0x00)},
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
    for (size_t i = 0; i < ImageList.size(); ++i)
        ImageList[i] = QPixmap(QStringLiteral(":/msgdlg/picture-%1.png").arg(i));

    buildControls();
    buildAnswerButtons();
    buildTabOrder();

    setMinimumSize(kMinimumOuterSize);
    resize(kClientSize);
}

void TFormMsgDlg::buildControls() {
    PanelBG = new BevelPanel(this, false, 2, 8);
    PanelBG->setObjectName(QStringLiteral("PanelBG"));
    PanelBG->setMinimumSize(398, 182);
    placement_.add(PanelBG, QRect(QPoint(0, 0), kClientSize), kAllSides);

    PaneText = new BevelPanel(PanelBG, true, 1, 8);
    PaneText->setObjectName(QStringLiteral("PaneText"));
    placement_.add(PaneText, {10, 10, 484, 244}, kAllSides);
    LabelText = makeLabel(PaneText, "LabelText", windowFont(11, true), Qt::black);
    LabelText->setWordWrap(true);
    auto* textBox = new QVBoxLayout(PaneText);
    textBox->setContentsMargins(0, 0, 0, 0);
    textBox->addWidget(LabelText);

    Memo = new QPlainTextEdit(PanelBG);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setReadOnly(true);
    Memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo->setFocusPolicy(Qt::StrongFocus);
    Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette memoColours = Memo->palette();
    memoColours.setColor(QPalette::Base, memoColours.color(QPalette::Button));
    Memo->setPalette(memoColours);
    Memo->hide();
    Memo->installEventFilter(this);
    placement_.add(Memo, {10, 10, 481, 244}, kAllSides);

    const struct {
        QLabel* TFormMsgDlg::*member;
        const char* name;
        const char* file;
    } icons[] = {{&TFormMsgDlg::ImageAsk, "ImageAsk", "question"},
                 {&TFormMsgDlg::ImageWrn, "ImageWrn", "warning"},
                 {&TFormMsgDlg::ImageInf, "ImageInf", "information"},
                 {&TFormMsgDlg::ImageErr, "ImageErr", "error"}};
    for (const auto& icon : icons) {
        this->*icon.member =
            makeIcon(PanelBG, icon.name, QStringLiteral(":/msgdlg/icon-%1.png").arg(QLatin1String(icon.file)));
        placement_.add(this->*icon.member, {514, 10, 48, 48}, kTopRight);
    }

    // The white shadow first, so the title is drawn over it.
    LabelTitleBK = makeLabel(PanelBG, "LabelTitleBK", windowFont(12, true), Qt::white);
    LabelTitleBK->setAutoFillBackground(true);
    placement_.add(LabelTitleBK, {499, 125, 79, 13}, kRightBottom);
    LabelTitle = makeLabel(PanelBG, "LabelTitle", windowFont(12, true), Qt::black);
    placement_.add(LabelTitle, {498, 124, 79, 13}, kRightBottom);
}

QPushButton* TFormMsgDlg::makeButton(const char* name, const QRect& designed) {
    auto* button = new QPushButton(PanelBG);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setIconSize(QSize(16, 16));
    button->installEventFilter(this);
    placement_.add(button, designed, kRightBottom);
    return button;
}

void TFormMsgDlg::buildAnswerButtons() {
    BitBtnUp = makeButton("BitBtnUp", {498, 144, 79, 23});
    BitBtnMid = makeButton("BitBtnMid", {498, 173, 79, 24});
    BitBtnDn = makeButton("BitBtnDn", {498, 201, 79, 24});
    BitBtnDn->setDefault(true);
    answerButtons_ = {BitBtnUp, BitBtnMid, BitBtnDn};
    for (size_t place = 0; place < answerButtons_.size(); ++place) {
        QPushButton* button = answerButtons_[place];
        button->hide();
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, place] { done(resultCodes_[place]); });
    }

    BitBtnMore = makeButton("BitBtnMore", {498, 229, 79, 24});
    BitBtnMore->setText(kMoreCaption);
    BitBtnMore->setEnabled(false);
    kb::ui::connectHandler(BitBtnMore, &QPushButton::clicked, this, &TFormMsgDlg::BitBtnMoreClick);
}

void TFormMsgDlg::buildTabOrder() {
    QWidget* const chain[] = {BitBtnUp, BitBtnMid, BitBtnDn, BitBtnMore, Memo};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TFormMsgDlg::setMessage(const QString& text, const QString& details) {
    LabelText->setText(text);
    if (!details.isEmpty()) {
        // The details start on a line of their own under the message.
        Memo->setPlainText(withCrLf(text + u'\r' + details));
        BitBtnMore->setEnabled(true);
    }
}

void TFormMsgDlg::applyKind(TMsgKind kind) {
    if (kind >= std::size(kKinds))
        return;
    const KindLook& look = kKinds[kind];
    (this->*look.icon)->show();
    LabelTitle->setText(look.title);
    LabelTitleBK->setText(LabelTitle->text());
    setTextColour(LabelTitle, look.titleColour);
    setTextColour(LabelText, look.textColour);
}

void TFormMsgDlg::placeButtons(const MsgButtonSlots& places) {
    for (size_t place = 0; place < places.size(); ++place) {
        if (places[place])
            fillSlot(static_cast<int>(place), *places[place]);
    }
}

void TFormMsgDlg::fillSlot(int place, const MsgButtonLook& look) {
    QPushButton* button = answerButtons_[place];
    button->setIcon(look.picture >= 0 ? QIcon(ImageList[look.picture]) : QIcon());
    button->setText(look.caption);
    button->show();
    button->setEnabled(true);
    resultCodes_[place] = look.result;
    if (look.cancel)
        cancelButton_ = button;
}

void TFormMsgDlg::BitBtnMoreClick() {
    const bool showDetails = BitBtnMore->text() == kMoreCaption;
    BitBtnMore->setText(showDetails ? kLessCaption : kMoreCaption);
    Memo->setVisible(showDetails);
    PaneText->setVisible(!showDetails);
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
    QWidget* const order[] = {BitBtnUp, BitBtnMid, BitBtnDn, BitBtnMore, Memo};
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
    const QSize minimum = (kMinimumOuterSize - frame).expandedTo(PanelBG->minimumSize());
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
