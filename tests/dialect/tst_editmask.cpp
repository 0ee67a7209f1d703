// The edit masks of the record editors: edit text, typing, stored value.

#include "EditMask.h"
#include "TestRows.h"

#include <stdexcept>

using namespace Qt::StringLiterals;
using kb::text::EditMask;
using namespace kbtest;

namespace {
const QString kDate = u"!99/99/00;1;_"_s;
const QString kPhone = u"!\\(999\\)000-0000;1;_"_s;
const QString kPassport = u"0000 000000;1;_"_s;
const QString kInn = u"000000000000"_s;
const QString kRefused = u"Invalid input value.  Use escape key to abandon changes"_s;
} // namespace

class TestEditMask : public QObject {
    Q_OBJECT
private slots:
    // The stored value of an edit text, or the refusal's message.
    void toStored_data() {
        columns<QString, QString, QString, bool>("mask", "edit", "stored", "complete");
        row("one-digit day typed first", kDate, "5_.04.13", " 5.04.13", true);
        row("two-digit area code", kPhone, "(12_)345-6789", "( 12)345-6789", true);
        row("literals not saved, short day", "!99/99/00;0;_", "5_.04.13", "50413", true);
        row("trailing blanks without !", "99-99;1;_", "_5-12", "5 -12", true);
        row("nothing entered clears", kDate, "__.__.__", "", false);
        row("year half typed", kDate, "05.04.1_", kRefused, false);
        row("passport, blank typed", kPassport, "1234 56 890", kRefused, false);
        row("letter in a digit position", kDate, "a5.04.13", kRefused, true);
    }
    void toStored() {
        const auto [mask, edit, stored, complete] =
            fetch<QString, QString, QString, bool>("mask", "edit", "stored", "complete");
        const EditMask m(mask);
        try {
            QCOMPARE(m.toStored(edit), stored);
        } catch (const std::invalid_argument& e) {
            QCOMPARE(QString::fromUtf8(e.what()), stored);
        }
        QCOMPARE(m.isComplete(edit), complete);
    }

    // The edit text that shows a stored value (nothing: the mask's empty text), and whether the value survives the way
    // back.
    void toEditText_data() {
        columns<QString, QString, QString, bool>("mask", "stored", "edit", "fits");
        row("leading blanks", kDate, " 5. 4.13", "_5._4.13", true);
        row("nothing stored: the empty text", kPhone, "", "(___)___-____", true);
        row("own blank", "99-99;0;*", "", "**-**", true);
        row("escaped digit is literal", "\\0\\99", "", "09_", true);
        row("phone, short area code", kPhone, "(12)345-6789", "(_12)345-6789", false);
        row("phone, too long", kPhone, "+7 (912) 345-67-89", "(+7_)(91-2)_3", false);
        row("taxpayer number, short", kInn, "1234", "1234________", false);
        row("foreign character kept visible", kPassport, "12A4 567890", "12A4 567890", false);
        row("literal blank after leading blanks", "!\\(999 \"", "(  4 \"", "(__4 \"", true);
    }
    void toEditText() {
        const auto [mask, stored, edit, fits] =
            fetch<QString, QString, QString, bool>("mask", "stored", "edit", "fits");
        QCOMPARE(EditMask(mask).toEditText(stored), edit);
        QCOMPARE(EditMask(mask).fits(stored), fits);
    }
};

QTEST_GUILESS_MAIN(TestEditMask)
#include "tst_editmask.moc"
