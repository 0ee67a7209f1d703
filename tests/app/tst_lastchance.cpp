#include "CapturedStandardError.h"
#include "DebugFile.h"
#include "ErrorText.h"
#include "LastChanceReport.h"
#include "ScriptedModalDialogs.h"
#include "TestRows.h"

#include <QRegularExpression>
#include <stdexcept>

using namespace kb::app;
using namespace kbtest;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::exception_ptr)

namespace accounts {
struct LedgerError : std::logic_error {
    using std::logic_error::logic_error;
};
} // namespace accounts

class TestLastChance : public QObject {
    Q_OBJECT
private slots:
    // The full stop of an error box's text: added after any character that sorts after ".", never after "." or one
    // that sorts before it.
    void fullStop_data() {
        columns<QString, QString>("message", "shown");
        row("Cyrillic letter", u"Файл не найден"_s, u"Файл не найден."_s);
        row("full stop", u"Готово."_s, u"Готово."_s);
        row("hyphen, just before the full stop", u"a-"_s, u"a-"_s);
        row("empty", QString(), QString());
    }
    void fullStop() {
        const auto [message, shown] = fetch<QString, QString>("message", "shown");
        QCOMPARE(kb::ui::withFullStop(message), shown);
    }

    // The kind is the class name without its namespaces; the message gets its full stop by the error box's rule, and
    // "at" the error's address.
    void text_data() {
        columns<std::exception_ptr, QString>("error", "expected");
        const QString start = u"Exception %1 in module kultbuh at 0xADDRESS.\r\n"_s;
        row("nested namespaces, placeholders in the message", std::make_exception_ptr(accounts::LedgerError("%1 %p")),
            start.arg(u"LedgerError"_s) + u"%1 %p.\r\n"_s);
        row("not a standard exception", std::make_exception_ptr(42), start.arg(u"int"_s) + u"\r\n"_s);
    }
    void text() {
        const auto [error, expected] = fetch<std::exception_ptr, QString>("error", "expected");
        QString text = lastChanceText(describeError(error), u"kultbuh"_s);
        QCOMPARE(text.replace(QRegularExpression(u" at 0x[0-9a-f]+\\."_s), u" at 0xADDRESS."_s), expected);
    }

    // A failure before the application object exists (the debug file's): a minimal one shows the box, and the same text
    // goes to standard error.
    void reportBeforeTheApplication() {
        kbtest::ScopedScriptedDialogs dialogs;
        dialogs->expectErrorBox();
        kbtest::CapturedStandardError captured;

        QCOMPARE(reportLastChance(std::make_exception_ptr(FileError("Не удаётся создать файл"))), 1);

        const QString written = QString::fromUtf8(captured.text());
        QCOMPARE(dialogs->calls().size(), size_t(1));
        QCOMPARE(dialogs->calls()[0].caption, u"Application Error"_s);
        QCOMPARE(dialogs->calls()[0].text, written);
        QVERIFY2(written.startsWith(u"Exception FileError in module tst_lastchance at "_s), qPrintable(written));
        QVERIFY(!QCoreApplication::instance());
    }
};

QTEST_APPLESS_MAIN(TestLastChance)
#include "tst_lastchance.moc"
