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

namespace kb::app {

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
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), picture(new QLabel(this)), titleLabel(new QLabel(this)),
      startButton(new QPushButton(this)) {
    setObjectName(QStringLiteral("FormZ"));
    setWindowTitle(QStringLiteral("Заставка"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(uiFont(11));
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);

    picture->setObjectName(QStringLiteral("Image1"));
    registerResources();
    const QPixmap image(QStringLiteral(":/splash.png"));
    picture->setPixmap(image);
    picture->setGeometry(0, 0, image.isNull() ? 290 : image.width(), image.isNull() ? 380 : image.height());

    titleLabel->setObjectName(QStringLiteral("Label1"));
    titleLabel->setGeometry(0, 378, 295, 69);
    titleLabel->setText(QStringLiteral("Информационно-справочная система бухгалтера отдела культуры "));
    titleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    titleLabel->setWordWrap(true);
    titleLabel->setFont(uiFont(19, true));

    startButton->setObjectName(QStringLiteral("Button1"));
    startButton->setGeometry(0, 453, 290, 25);
    startButton->setText(QStringLiteral("Начать работу"));
    startButton->setFont(uiFont(13, true));
    startButton->setDefault(true);
    connect(startButton, &QPushButton::clicked, this, &QDialog::accept);

    new InnerBorder(this);
    startButton->setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

void runSplashScreen(const QString& note) {
    TFormZ splash;
    splash.setToolTip(note);
    ui::dialogs().execDialog(splash);
}

} // namespace kb::app
