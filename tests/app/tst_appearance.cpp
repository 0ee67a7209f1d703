#include "AppearanceSetup.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPushButton>
#include <QStyle>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAppearance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        kb::app::setupAppearance(*qApp);
        // A second run changes nothing (fonts are registered once).
        kb::app::setupAppearance(*qApp);
    }

    void styleAndFont() {
        QCOMPARE(QApplication::style()->name(), u"fusion"_s);
        QCOMPARE(QApplication::font().pixelSize(), 11);
        QCOMPARE(QApplication::font().family(), kb::app::uiFontFamily());
        QVERIFY(kb::app::uiFont(13, true).bold());
        if (QFile::exists(u"/usr/share/wine/fonts/tahomabd.ttf"_s)) {
            // Tahoma is really used, with its own bold face rather than a faked one.
            QCOMPARE(QFontInfo(QApplication::font()).family(), u"Tahoma"_s);
            QCOMPARE(QFontDatabase::styles(u"Tahoma"_s), (QStringList{u"Regular"_s, u"Bold"_s}));
        }
    }

    void russianNumbersDatesAndDialogs() {
        const QLocale locale;
        QCOMPARE(locale.toString(1481.4), u"1\u00a0481,4"_s);
        QCOMPARE(locale.toString(QDate(2013, 4, 1), QLocale::ShortFormat), u"01.04.2013"_s);
        QCOMPARE(locale.standaloneMonthName(4), u"апрель"_s);
        QCOMPARE(locale.firstDayOfWeek(), Qt::Monday);
        const QDialogButtonBox box{QDialogButtonBox::Cancel};
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), u"Отмена"_s);
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
