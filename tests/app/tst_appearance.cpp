#include "AppearanceSetup.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontInfo>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTest>

class TestAppearance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void styleAndFont();
    void numbersAndDatesInRussian_data();
    void numbersAndDatesInRussian();
    void qtDialogsInRussian_data();
    void qtDialogsInRussian();
};

void TestAppearance::initTestCase() {
    kb::app::setupAppearance(*qApp);
    // A second run changes nothing (fonts are registered once).
    kb::app::setupAppearance(*qApp);
}

void TestAppearance::styleAndFont() {
    QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));
    QCOMPARE(QApplication::font().pixelSize(), 11);
    QCOMPARE(QApplication::font().family(), kb::app::uiFontFamily());
    if (QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"))) {
        QCOMPARE(kb::app::uiFontFamily(), QStringLiteral("Tahoma"));
        QCOMPARE(QFontInfo(QApplication::font()).family(), QStringLiteral("Tahoma"));
    } else {
        QVERIFY(!kb::app::uiFontFamily().isEmpty());
    }
}

void TestAppearance::numbersAndDatesInRussian_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    const QLocale locale;
    QTest::newRow("decimal comma") << locale.toString(1481.4) << QStringLiteral("1 481,4");
    QTest::newRow("short date") << locale.toString(QDate(2013, 4, 1), QLocale::ShortFormat)
                                << QStringLiteral("01.04.2013");
    QTest::newRow("month name") << locale.standaloneMonthName(4) << QStringLiteral("апрель");
    QTest::newRow("week starts on Monday") << QString::number(locale.firstDayOfWeek()) << QString::number(Qt::Monday);
}

void TestAppearance::numbersAndDatesInRussian() {
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    // The group separator is a no-break space in the Russian locale.
    shown.replace(QChar(0x00A0), u' ');
    QCOMPARE(shown, expected);
}

void TestAppearance::qtDialogsInRussian_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << QStringLiteral("Отмена");
    QTest::newRow("Save") << int(QDialogButtonBox::Save) << QStringLiteral("Сохранить");
    QTest::newRow("Close") << int(QDialogButtonBox::Close) << QStringLiteral("Закрыть");
}

void TestAppearance::qtDialogsInRussian() {
    QFETCH(int, button);
    QFETCH(QString, text);
    QDialogButtonBox box{QDialogButtonBox::StandardButtons(button)};
    QCOMPARE(box.button(QDialogButtonBox::StandardButton(button))->text().remove(u'&'), text);
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
