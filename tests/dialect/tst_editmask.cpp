// The edit masks of the record editors: edit text, typing, stored value.

#include "EditMask.h"

#include <QTest>
#include <stdexcept>

using kb::EditMask;

namespace {
const QString kDate = QStringLiteral("!99/99/00;1;_");
const QString kPhone = QStringLiteral("!\\(999\\)000-0000;1;_");
const QString kPassport = QStringLiteral("0000 000000;1;_");
const QString kInn = QStringLiteral("000000000000");
} // namespace

class TestEditMask : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void accepts_data();
    void accepts();
    void toStored_data();
    void toStored();
    void refusesIncomplete_data();
    void refusesIncomplete();
    void toEditText_data();
    void toEditText();
    void fits_data();
    void fits();
};

void TestEditMask::parse_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("empty");
    QTest::addColumn<bool>("savesLiterals");
    QTest::addColumn<QString>("literals"); // 'L' where a position is a literal
    QTest::newRow("date") << kDate << QChar('.') << "__.__.__" << true << "  L  L  ";
    QTest::newRow("date, other separator") << kDate << QChar('/') << "__/__/__" << true << "  L  L  ";
    QTest::newRow("phone") << kPhone << QChar('.') << "(___)___-____" << true << "L   L   L    ";
    QTest::newRow("passport") << kPassport << QChar('.') << "____ ______" << true << "    L      ";
    QTest::newRow("taxpayer number") << kInn << QChar('.') << "____________" << true << "            ";
    QTest::newRow("literals not saved, own blank") << "99-99;0;*" << QChar('.') << "**-**" << false << "  L  ";
    QTest::newRow("escaped digit is literal") << "\\0\\99" << QChar('.') << "09_" << true << "LL ";
}

void TestEditMask::parse() {
    QFETCH(QString, mask);
    QFETCH(QChar, separator);
    QFETCH(QString, empty);
    QFETCH(bool, savesLiterals);
    QFETCH(QString, literals);
    const EditMask m(mask, separator);
    QCOMPARE(m.emptyText(), empty);
    QCOMPARE(m.length(), int(empty.size()));
    QCOMPARE(m.savesLiterals(), savesLiterals);
    QString seen;
    for (int pos = 0; pos < m.length(); ++pos)
        seen += m.isLiteral(pos) ? QLatin1Char('L') : QLatin1Char(' ');
    QCOMPARE(seen, literals);
    QVERIFY(!m.isLiteral(-1));
    QVERIFY(!m.isLiteral(m.length()));
}

void TestEditMask::accepts_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QChar>("ch");
    QTest::addColumn<bool>("expected");
    QTest::newRow("digit in optional") << kDate << 0 << QChar('5') << true;
    QTest::newRow("blank in optional") << kDate << 0 << QChar(' ') << true;
    QTest::newRow("letter") << kDate << 0 << QChar('a') << false;
    QTest::newRow("separator at its place") << kDate << 2 << QChar('.') << true;
    QTest::newRow("digit on separator") << kDate << 2 << QChar('5') << false;
    QTest::newRow("blank in required") << kDate << 6 << QChar(' ') << false;
    QTest::newRow("digit in required") << kDate << 7 << QChar('9') << true;
    QTest::newRow("past the end") << kDate << 8 << QChar('1') << false;
    QTest::newRow("before the start") << kDate << -1 << QChar('1') << false;
    QTest::newRow("phone parenthesis") << kPhone << 4 << QChar(')') << true;
    QTest::newRow("arabic-indic digit") << kInn << 0 << QChar(0x0663) << false;
}

void TestEditMask::accepts() {
    QFETCH(QString, mask);
    QFETCH(int, pos);
    QFETCH(QChar, ch);
    QFETCH(bool, expected);
    QCOMPARE(EditMask(mask).accepts(pos, ch), expected);
}

void TestEditMask::toStored_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("complete");
    QTest::newRow("date") << kDate << "05.04.13"
                          << "05.04.13" << true;
    QTest::newRow("one-digit day typed first") << kDate << "5_.04.13"
                                               << " 5.04.13" << true;
    QTest::newRow("one-digit day typed second") << kDate << "_5. 4.13"
                                                << " 5. 4.13" << true;
    QTest::newRow("phone") << kPhone << "(123)456-7890"
                           << "(123)456-7890" << true;
    QTest::newRow("two-digit area code") << kPhone << "(12_)345-6789"
                                         << "( 12)345-6789" << true;
    QTest::newRow("no area code") << kPhone << "(___)345-6789"
                                  << "(   )345-6789" << true;
    QTest::newRow("passport") << kPassport << "1234 567890"
                              << "1234 567890" << true;
    QTest::newRow("taxpayer number") << kInn << "123456789012"
                                     << "123456789012" << true;
    QTest::newRow("literals not saved") << "!99/99/00;0;_"
                                        << "05.04.13"
                                        << "050413" << true;
    QTest::newRow("literals not saved, short day") << "!99/99/00;0;_"
                                                   << "5_.04.13"
                                                   << "50413" << true;
    QTest::newRow("trailing blanks without !") << "99-99;1;_"
                                               << "_5-12"
                                               << "5 -12" << true;
    QTest::newRow("nothing entered clears") << kDate << "__.__.__"
                                            << "" << false;
    QTest::newRow("no mask passes text") << ""
                                         << " any text "
                                         << " any text " << true;
    QTest::newRow("phone nothing entered") << kPhone << "(   )   -    "
                                           << "" << false;
}

void TestEditMask::toStored() {
    QFETCH(QString, mask);
    QFETCH(QString, edit);
    QFETCH(QString, stored);
    QFETCH(bool, complete);
    const EditMask m(mask);
    QCOMPARE(m.toStored(edit), stored);
    QCOMPARE(m.isComplete(edit), complete);
}

void TestEditMask::refusesIncomplete_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("edit");
    QTest::newRow("date, year half typed") << kDate << "05.04.1_";
    QTest::newRow("date, only day") << kDate << "05.__.__";
    QTest::newRow("phone, last digit missing") << kPhone << "(123)456-789_";
    QTest::newRow("phone, area code only") << kPhone << "(123)___-____";
    QTest::newRow("passport, blank typed") << kPassport << "1234 56 890";
    QTest::newRow("taxpayer number short") << kInn << "12345678901";
    QTest::newRow("letter in a digit position") << kDate << "a5.04.13";
}

void TestEditMask::refusesIncomplete() {
    QFETCH(QString, mask);
    QFETCH(QString, edit);
    try {
        EditMask(mask).toStored(edit);
        QFAIL("no error");
    } catch (const std::invalid_argument& e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
    }
}

void TestEditMask::toEditText_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("edit");
    QTest::newRow("date") << kDate << "05.04.13"
                          << "05.04.13";
    QTest::newRow("date with leading blanks") << kDate << " 5. 4.13"
                                              << "_5._4.13";
    QTest::newRow("nothing stored") << kDate << ""
                                    << "__.__.__";
    QTest::newRow("phone") << kPhone << "(123)456-7890"
                           << "(123)456-7890";
    QTest::newRow("phone with blank area digit") << kPhone << "( 12)345-6789"
                                                 << "(_12)345-6789";
    QTest::newRow("phone, short area code") << kPhone << "(12)345-6789"
                                            << "(_12)345-6789";
    QTest::newRow("phone, digits only") << kPhone << "1234567890"
                                        << "(123)456-7890";
    QTest::newRow("taxpayer number, short") << kInn << "1234"
                                            << "1234________";
    QTest::newRow("literals not saved") << "!99/99/00;0;_"
                                        << "050413"
                                        << "05.04.13";
    QTest::newRow("no mask passes text") << ""
                                         << "8-912-345"
                                         << "8-912-345";
    QTest::newRow("foreign character kept visible") << kPassport << "12A4 567890"
                                                    << "12A4 567890";
}

void TestEditMask::toEditText() {
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    QFETCH(QString, edit);
    QCOMPARE(EditMask(mask).toEditText(stored), edit);
}

void TestEditMask::fits_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("date") << kDate << " 5.04.13" << true;
    QTest::newRow("empty") << kDate << "" << true;
    QTest::newRow("phone with blanks") << kPhone << "(   )345-6789" << true;
    QTest::newRow("phone without blank") << kPhone << "(12)345-6789" << false;
    QTest::newRow("too long") << kPhone << "+7 (912) 345-67-89" << false;
    QTest::newRow("letter") << kPassport << "12A4 567890" << false;
    QTest::newRow("incomplete") << kInn << "1234" << false;
}

void TestEditMask::fits() {
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    QFETCH(bool, expected);
    QCOMPARE(EditMask(mask).fits(stored), expected);
}

QTEST_GUILESS_MAIN(TestEditMask)
#include "tst_editmask.moc"
