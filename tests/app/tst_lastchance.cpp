#include "CapturedStandardError.h"
#include "DbError.h"
#include "DebugFile.h"
#include "LastChanceReport.h"
#include "ScriptedModalDialogs.h"

#include <QCoreApplication>
#include <QTest>
#include <stdexcept>

using namespace kb::app;
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
    void text_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("expected");
        const QString start = u"Exception %1 in module kultbuh at 0x1f40.\r\n"_s;
        QTest::newRow("letter at the end")
            << u"DbError"_s << u"Нет файла"_s << start.arg(u"DbError"_s) + u"Нет файла.\r\n"_s;
        QTest::newRow("full stop at the end")
            << u"FileError"_s << u"Отказ."_s << start.arg(u"FileError"_s) + u"Отказ.\r\n"_s;
        QTest::newRow("empty message") << u"int"_s << QString() << start.arg(u"int"_s) + u"\r\n"_s;
        QTest::newRow("placeholders stay") << u"DbError"_s << u"%1 %p"_s << start.arg(u"DbError"_s) + u"%1 %p.\r\n"_s;
    }
    void text() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(QString, expected);
        const ErrorDescription error{kind, message, reinterpret_cast<const void*>(quintptr(0x1f40))};
        QCOMPARE(lastChanceText(error, u"kultbuh"_s), expected);
    }

    // The kind is the class name without its namespaces.
    void describe_data() {
        QTest::addColumn<std::exception_ptr>("error");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("database error") << std::make_exception_ptr(kb::DbError(u"no such table: Sotr"_s))
                                        << u"DbError"_s << u"no such table: Sotr"_s;
        QTest::newRow("file error") << std::make_exception_ptr(FileError("Отказ")) << u"FileError"_s << u"Отказ"_s;
        QTest::newRow("nested namespaces")
            << std::make_exception_ptr(accounts::LedgerError("x")) << u"LedgerError"_s << u"x"_s;
        QTest::newRow("not a standard exception") << std::make_exception_ptr(42) << u"int"_s << QString();
    }
    void describe() {
        QFETCH(std::exception_ptr, error);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const ErrorDescription description = describeError(error);
        QCOMPARE(description.kind, kind);
        QCOMPARE(description.message, message);
        QVERIFY(description.address != nullptr);
    }

    // A failure before the application object exists (the debug file's): a
    // minimal one shows the box, and the same text goes to standard error.
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
