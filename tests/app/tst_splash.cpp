#include "AppearanceSetup.h"
#include "ScriptedModalDialogs.h"
#include "TFormZ.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using kb::ui::ScopedScriptedDialogs;

namespace {

bool tahomaInstalled() {
    return QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")) &&
           QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"));
}

} // namespace

class TestSplash : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void window();
    void controls_data();
    void controls();
    void fonts_data();
    void fonts();
    void pictureIsTheStoredOne();
    void onlyTheButtonTakesFocus();
    void titleFitsItsLabel();
    void everyWayOfClosingEndsIt_data();
    void everyWayOfClosingEndsIt();
    void showSplashShowsAndDestroysIt();
};

void TestSplash::initTestCase() {
    kb::app::setupAppearance(*qApp);
}

void TestSplash::window() {
    TFormZ splash;
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash.windowTitle(), QStringLiteral("Заставка"));
    QCOMPARE(splash.size(), QSize(295, 478));
    QCOMPARE(splash.minimumSize(), QSize(295, 478));
    QCOMPARE(splash.maximumSize(), QSize(295, 478));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint centreOffset = QRect(splash.pos(), splash.size()).center() - screen.center();
    QVERIFY2(centreOffset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(splash.pos().x()).arg(splash.pos().y())));

    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const QImage shot = splash.grab().toImage();
    // White within; a 1-pixel border all round the edge, over the picture too.
    QCOMPARE(shot.pixelColor(1, 420), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(293, 420), QColor(Qt::white));
    const QColor border = shot.pixelColor(0, 420);
    QVERIFY(border != QColor(Qt::white));
    QCOMPARE(shot.pixelColor(294, 420), border);
    QCOMPARE(shot.pixelColor(150, 0), border);
    QCOMPARE(shot.pixelColor(0, 200), border);
    QCOMPARE(shot.pixelColor(150, 477), border);
}

void TestSplash::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");

    QTest::newRow("Image1") << QStringLiteral("Image1") << QRect(0, 0, 290, 380) << QString();
    QTest::newRow("Label1") << QStringLiteral("Label1") << QRect(0, 378, 295, 69)
                            << QStringLiteral("Информационно-справочная система бухгалтера отдела культуры ");
    QTest::newRow("Button1") << QStringLiteral("Button1") << QRect(0, 453, 290, 25) << QStringLiteral("Начать работу");
}

void TestSplash::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    TFormZ splash;
    auto* control = splash.findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(), geometry);
    if (auto* label = qobject_cast<QLabel*>(control); label && !text.isEmpty())
        QCOMPARE(label->text(), text);
    if (auto* button = qobject_cast<QPushButton*>(control))
        QCOMPARE(button->text(), text);
}

void TestSplash::fonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");

    QTest::newRow("window") << QString() << 11 << false;
    QTest::newRow("Label1") << QStringLiteral("Label1") << 19 << true;
    QTest::newRow("Button1") << QStringLiteral("Button1") << 13 << true;
}

void TestSplash::fonts() {
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    TFormZ splash;
    const QWidget* widget = name.isEmpty() ? &splash : splash.findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    const QFont font = widget->font();
    QCOMPARE(font.pixelSize(), pixelSize);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.family(), kb::app::uiFontFamily());
    if (tahomaInstalled()) {
        // Tahoma is really used, with its own bold face rather than a faked one.
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Tahoma"));
        QVERIFY(QFontDatabase::styles(QStringLiteral("Tahoma")).contains(QStringLiteral("Bold")));
    }
}

void TestSplash::pictureIsTheStoredOne() {
    TFormZ splash;
    const QPixmap picture = splash.Image1->pixmap();
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), QSize(290, 380));
    const QImage stored(QStringLiteral(":/splash.png"));
    QCOMPARE(stored.size(), QSize(290, 380));
    QVERIFY(!stored.hasAlphaChannel());
    QCOMPARE(stored.depth() >= 24, true);
    // Not one flat colour.
    QVERIFY(stored.pixelColor(10, 10) != stored.pixelColor(145, 300));
}

void TestSplash::onlyTheButtonTakesFocus() {
    TFormZ splash;
    for (const QWidget* child : splash.findChildren<QWidget*>()) {
        if (child != splash.Button1)
            QVERIFY2(child->focusPolicy() == Qt::NoFocus, qPrintable(child->objectName()));
    }
    QVERIFY(splash.Button1->focusPolicy() != Qt::NoFocus);
    QVERIFY(splash.Button1->isDefault());
    splash.show();
    QApplication::setActiveWindow(&splash);
    QVERIFY(QTest::qWaitForWindowActive(&splash));
    QCOMPARE(QApplication::focusWidget(), splash.Button1);
    QTest::keyClick(&splash, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), splash.Button1);
}

void TestSplash::titleFitsItsLabel() {
    TFormZ splash;
    // Word-wrapped and centred, the whole text fits the label's 69 pixels.
    QVERIFY(splash.Label1->wordWrap());
    QCOMPARE(splash.Label1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    if (tahomaInstalled())
        QVERIFY2(splash.Label1->heightForWidth(295) <= 69,
                 qPrintable(QString::number(splash.Label1->heightForWidth(295))));
}

void TestSplash::everyWayOfClosingEndsIt_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");

    QTest::newRow("click on the button") << QStringLiteral("click") << 1;
    QTest::newRow("Enter") << QStringLiteral("enter") << 1;
    QTest::newRow("Return") << QStringLiteral("return") << 1;
    QTest::newRow("Space") << QStringLiteral("space") << 1;
    QTest::newRow("Escape") << QStringLiteral("escape") << 0;
    QTest::newRow("window closed") << QStringLiteral("close") << 0;
}

void TestSplash::everyWayOfClosingEndsIt() {
    QFETCH(QString, how);
    QFETCH(int, result);
    ScopedScriptedDialogs dialogs;
    bool wasShown = false;
    dialogs->scriptDialog([&](QDialog& dialog) {
        auto& splash = static_cast<TFormZ&>(dialog);
        QApplication::setActiveWindow(&splash);
        wasShown = QTest::qWaitForWindowActive(&splash);
        if (how == u"click")
            QTest::mouseClick(splash.Button1, Qt::LeftButton);
        else if (how == u"enter")
            QTest::keyClick(&splash, Qt::Key_Enter);
        else if (how == u"return")
            QTest::keyClick(&splash, Qt::Key_Return);
        else if (how == u"space")
            QTest::keyClick(splash.Button1, Qt::Key_Space);
        else if (how == u"escape")
            QTest::keyClick(&splash, Qt::Key_Escape);
        else
            splash.close();
        // A modal showing ends when the window is hidden.
        return splash.isVisible() ? -1 : splash.result();
    });

    TFormZ splash;
    QCOMPARE(kb::ui::dialogs().execDialog(splash), result);
    QVERIFY(wasShown);
}

void TestSplash::showSplashShowsAndDestroysIt() {
    ScopedScriptedDialogs dialogs;
    QPointer<QDialog> shown;
    dialogs->scriptDialog([&](QDialog& dialog) {
        shown = &dialog;
        return 0;
    });

    ShowSplash();

    const auto calls = dialogs->callsOf(kb::ui::ScriptedModalDialogs::Kind::ExecDialog);
    QCOMPARE(calls.size(), size_t(1));
    QCOMPARE(calls.front().caption, QStringLiteral("Заставка"));
    QCOMPARE(calls.front().text, QStringLiteral("TFormZ"));
    QVERIFY(shown.isNull());
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
