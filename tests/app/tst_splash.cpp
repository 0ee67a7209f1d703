#include "AppearanceSetup.h"
#include "ScriptedModalDialogs.h"
#include "TFormZ.h"
#include "TestRows.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>

using namespace kbtest;
using namespace Qt::StringLiterals;

class TestSplash : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { kb::app::setupAppearance(*qApp); }

    void look() {
        TFormZ splash;
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(splash.minimumSize() == QSize(295, 478) && splash.maximumSize() == QSize(295, 478));
        const QPoint offset =
            QRect(splash.pos(), splash.size()).center() - QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY(offset.manhattanLength() <= 2);
        QCOMPARE(splash.Button1->text(), u"Начать работу"_s);
        // The whole title fits its label of 69 pixels, word-wrapped.
        QVERIFY(splash.Label1->wordWrap() && splash.Label1->font().bold() && splash.Button1->font().bold());
        if (QFile::exists(u"/usr/share/wine/fonts/tahomabd.ttf"_s))
            QVERIFY(splash.Label1->heightForWidth(295) <= 69);
        // The stored picture: 290 × 380, opaque, not one flat colour.
        const QImage picture = splash.Image1->pixmap().toImage();
        QCOMPARE(picture.size(), QSize(290, 380));
        QVERIFY(!picture.hasAlphaChannel() && picture.pixelColor(10, 10) != picture.pixelColor(145, 300));

        // White within; a 1-pixel border all round the edge, over the picture too.
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        const QImage shot = splash.grab().toImage();
        QVERIFY(shot.pixelColor(1, 420) == Qt::white && shot.pixelColor(293, 420) == Qt::white);
        const QColor border = shot.pixelColor(0, 420);
        QVERIFY(border != QColor(Qt::white));
        for (const QPoint& edge : {QPoint(294, 420), QPoint(150, 0), QPoint(0, 200), QPoint(150, 477)})
            QCOMPARE(shot.pixelColor(edge), border);
    }

    // Only the button takes the keyboard focus, so Enter and Space press it even after Tab; Escape and closing end the
    // splash too, and it is gone when its showing returns.
    void everyWayOfClosingEndsIt_data() {
        // keys: empty: the button is clicked
        columns<QList<int>, int>("keys", "result");
        row("click on the button", QList<int>{}, 1);
        row("Enter", QList<int>{Qt::Key_Return}, 1);
        row("Tab, then Space", QList<int>{Qt::Key_Tab, Qt::Key_Space}, 1);
        row("Escape", QList<int>{Qt::Key_Escape}, 0);
        row("window closed", QList<int>{Qt::Key_unknown}, 0);
    }
    void everyWayOfClosingEndsIt() {
        const auto [keys, result] = fetch<QList<int>, int>("keys", "result");
        kbtest::ScopedScriptedDialogs dialogs;
        QPointer<QDialog> shown;
        int ended = -1;
        dialogs->scriptDialog([&](QDialog& dialog) {
            shown = &dialog;
            QApplication::setActiveWindow(&dialog);
            if (!QTest::qWaitForWindowActive(&dialog))
                return -1;
            if (keys.isEmpty())
                QTest::mouseClick(static_cast<TFormZ&>(dialog).Button1, Qt::LeftButton);
            for (const int key : keys) {
                if (key == Qt::Key_unknown)
                    dialog.close();
                else
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            }
            // A modal showing ends when the window is hidden.
            ended = dialog.isVisible() ? -1 : dialog.result();
            return ended;
        });

        ShowSplash();

        QCOMPARE(ended, result);
        QVERIFY(shown.isNull());
        QCOMPARE(dialogs->calls().size(), size_t(1));
        QCOMPARE(dialogs->calls()[0].caption, u"Заставка"_s);
        QCOMPARE(dialogs->calls()[0].text, u"TFormZ"_s);
    }
};

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
