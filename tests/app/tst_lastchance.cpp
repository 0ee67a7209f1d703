#include "DbError.h"
#include "DebugFile.h"
#include "LastChanceReport.h"
#include "ScriptedModalDialogs.h"

#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

using namespace kb::app;

Q_DECLARE_METATYPE(std::exception_ptr)

namespace {

namespace accounts {
struct LedgerError : std::logic_error {
    using std::logic_error::logic_error;
};
} // namespace accounts

// Sends standard error to a file while it lives.
class CapturedStandardError {
public:
    CapturedStandardError() {
        if (!file_.open())
            return;
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        ::dup2(file_.handle(), STDERR_FILENO);
    }
    ~CapturedStandardError() { restore(); }
    bool capturing() const { return saved_ >= 0; }
    QByteArray text() {
        restore();
        file_.seek(0);
        return file_.readAll();
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

} // namespace

class TestLastChance : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void kindAndMessage_data();
    void kindAndMessage();
    void addressIsTheErrorObjects();
    void reportShowsTheBoxWritesStandardErrorAndGivesOne();
};

void TestLastChance::text_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");

    QTest::newRow("message ending in a letter") << QStringLiteral("DbError") << QStringLiteral("Нет файла BAZA.mdb")
                                                << QStringLiteral("Exception DbError in module kultbuh at 0x1f40.\r\n"
                                                                  "Нет файла BAZA.mdb.\r\n");
    QTest::newRow("message ending in a full stop")
        << QStringLiteral("FileError") << QStringLiteral("Отказано в доступе.")
        << QStringLiteral("Exception FileError in module kultbuh at 0x1f40.\r\nОтказано в доступе.\r\n");
    QTest::newRow("message ending in an exclamation mark")
        << QStringLiteral("DbError") << QStringLiteral("Стоп!")
        << QStringLiteral("Exception DbError in module kultbuh at 0x1f40.\r\nСтоп!\r\n");
    QTest::newRow("empty message") << QStringLiteral("int") << QString()
                                   << QStringLiteral("Exception int in module kultbuh at 0x1f40.\r\n\r\n");
    QTest::newRow("placeholders in the message stay as they are")
        << QStringLiteral("DbError") << QStringLiteral("%1 %2 %p")
        << QStringLiteral("Exception DbError in module kultbuh at 0x1f40.\r\n%1 %2 %p.\r\n");
}

void TestLastChance::text() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    const ErrorDescription error{kind, message, reinterpret_cast<const void*>(quintptr(0x1f40))};
    QCOMPARE(lastChanceText(error, QStringLiteral("kultbuh")), expected);
}

void TestLastChance::kindAndMessage_data() {
    QTest::addColumn<std::exception_ptr>("error");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");

    QTest::newRow("database error") << std::make_exception_ptr(kb::DbError(QStringLiteral("no such table: Sotr")))
                                    << QStringLiteral("DbError") << QStringLiteral("no such table: Sotr");
    QTest::newRow("file error") << std::make_exception_ptr(FileError("Не удаётся создать файл"))
                                << QStringLiteral("FileError") << QStringLiteral("Не удаётся создать файл");
    QTest::newRow("standard library error") << std::make_exception_ptr(std::out_of_range("индекс"))
                                            << QStringLiteral("out_of_range") << QStringLiteral("индекс");
    QTest::newRow("nested namespaces") << std::make_exception_ptr(accounts::LedgerError("x"))
                                       << QStringLiteral("LedgerError") << QStringLiteral("x");
    QTest::newRow("not a standard exception") << std::make_exception_ptr(42) << QStringLiteral("int") << QString();
}

void TestLastChance::kindAndMessage() {
    QFETCH(std::exception_ptr, error);
    QFETCH(QString, kind);
    QFETCH(QString, message);
    const ErrorDescription description = describeError(error);
    QCOMPARE(description.kind, kind);
    QCOMPARE(description.message, message);
    QVERIFY(description.address != nullptr);
}

void TestLastChance::addressIsTheErrorObjects() {
    const std::exception_ptr error = std::make_exception_ptr(kb::DbError(QStringLiteral("сбой")));
    const void* object = nullptr;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        object = &e;
    }
    QCOMPARE(describeError(error).address, object);
}

void TestLastChance::reportShowsTheBoxWritesStandardErrorAndGivesOne() {
    kb::ui::ScopedScriptedDialogs dialogs;
    dialogs->expectErrorBox();
    CapturedStandardError captured;
    QVERIFY(captured.capturing());

    const int exitCode = reportLastChance(std::make_exception_ptr(kb::DbError(QStringLiteral("Нет файла BAZA.mdb"))));
    const QString written = QString::fromUtf8(captured.text());

    QCOMPARE(exitCode, 1);
    QVERIFY2(dialogs->failures().isEmpty(), qPrintable(dialogs->failures().join(u'\n')));
    const auto boxes = dialogs->callsOf(kb::ui::ScriptedModalDialogs::Kind::ErrorBox);
    QCOMPARE(boxes.size(), size_t(1));
    QCOMPARE(boxes.front().caption, QStringLiteral("Application Error"));
    const QRegularExpression format(QStringLiteral(
        "^Exception DbError in module tst_lastchance at 0x[0-9a-f]+\\.\\r\\nНет файла BAZA\\.mdb\\.\\r\\n$"));
    QVERIFY2(format.match(boxes.front().text).hasMatch(), qPrintable(boxes.front().text));
    QCOMPARE(written, boxes.front().text);
}

QTEST_MAIN(TestLastChance)
#include "tst_lastchance.moc"
