#include "TFormZ.h"

#include "AppearanceSetup.h"
#include "ModalDialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

// The picture lives in the program's resources, compiled into a static
// library: they must be registered by name (outside any namespace).
static void registerResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    (void)registered;
}

namespace {

// The 1-pixel inner border, drawn over the controls at the window's edge so
// the frameless window has a visible outline all round.
class InnerBorder : public QWidget {
public:
    explicit InnerBorder(QWidget* window) : QWidget(window) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(window->rect());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QColor(0x8c, 0x94, 0xa0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

} // namespace

TFormZ::TFormZ(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), Image1(new QLabel(this)), Label1(new QLabel(this)),
      Button1(new QPushButton(this)) {
    setObjectName(QStringLiteral("FormZ"));
    setWindowTitle(QStringLiteral("Заставка"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(kb::app::uiFont(11));
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);

    Image1->setObjectName(QStringLiteral("Image1"));
    registerResources();
    const QPixmap picture(QStringLiteral(":/splash.png"));
    Image1->setPixmap(picture);
    Image1->setGeometry(0, 0, picture.isNull() ? 290 : picture.width(), picture.isNull() ? 380 : picture.height());

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(0, 378, 295, 69);
    Label1->setText(QStringLiteral("Информационно-справочная система бухгалтера отдела культуры "));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setFont(kb::app::uiFont(19, true));

    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(0, 453, 290, 25);
    Button1->setText(QStringLiteral("Начать работу"));
    Button1->setFont(kb::app::uiFont(13, true));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    new InnerBorder(this);
    Button1->setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

void ShowSplash() {
    TFormZ splash;
    kb::ui::dialogs().execDialog(splash);
}
