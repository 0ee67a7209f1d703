// The application object's default error handler. The failing handlers are
// event handlers of a plain object, a timer and a queued call: their events
// travel through Qt's core alone, whose frames unwind cleanly. The program's
// widget handlers catch their own errors (see connectHandler), as an
// exception unwinding Qt's widget event handling leaks that module's copies
// of the event.

#include "DbError.h"
#include "KultbuhApplication.h"
#include "ScriptedModalDialogs.h"

#include <QTest>
#include <QTimer>
#include <stdexcept>

using kb::ui::ScopedScriptedDialogs;
using kb::ui::ScriptedModalDialogs;

namespace {

// What the handlers throw.
enum class Thrown { Runtime, Database, EndsWithStop, NotStandard };

// An object whose handler of its own event type changes something, then fails.
class Failing : public QObject {
public:
    static QEvent::Type eventType() {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }
    void fail() {
        ++runs;
        switch (what) {
        case Thrown::Runtime:
            throw std::runtime_error("Ошибка при открытии запроса");
        case Thrown::Database:
            throw kb::DbError(QStringLiteral("no such column: FIO2"));
        case Thrown::EndsWithStop:
            throw std::runtime_error("Операция отменена.");
        case Thrown::NotStandard:
            throw 17;
        }
    }
    Thrown what = Thrown::Database;
    int runs = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == eventType())
            fail();
        return QObject::event(event);
    }
};

} // namespace

Q_DECLARE_METATYPE(Thrown)

class TestKultbuhApplication : public QObject {
    Q_OBJECT
private slots:
    void errorLeavingAHandlerIsShown_data();
    void errorLeavingAHandlerIsShown();
    void everyKindOfEventIsGuarded_data();
    void everyKindOfEventIsGuarded();
    void programGoesOnAfterAnError();
};

void TestKultbuhApplication::errorLeavingAHandlerIsShown_data() {
    QTest::addColumn<Thrown>("thrown");
    QTest::addColumn<QString>("text");

    QTest::newRow("standard error") << Thrown::Runtime << QStringLiteral("Ошибка при открытии запроса.");
    QTest::newRow("database error") << Thrown::Database << QStringLiteral("no such column: FIO2.");
    QTest::newRow("message with its own full stop") << Thrown::EndsWithStop << QStringLiteral("Операция отменена.");
    QTest::newRow("not a standard exception") << Thrown::NotStandard << QStringLiteral("Неизвестная ошибка.");
}

void TestKultbuhApplication::errorLeavingAHandlerIsShown() {
    QFETCH(Thrown, thrown);
    QFETCH(QString, text);
    ScopedScriptedDialogs dialogs;
    dialogs->expectErrorBox();
    Failing handler;
    handler.what = thrown;
    QEvent event(Failing::eventType());

    QVERIFY(!QCoreApplication::sendEvent(&handler, &event));

    QCOMPARE(handler.runs, 1);
    QVERIFY2(dialogs->failures().isEmpty(), qPrintable(dialogs->failures().join(u'\n')));
    const auto boxes = dialogs->callsOf(ScriptedModalDialogs::Kind::ErrorBox);
    QCOMPARE(boxes.size(), size_t(1));
    // The caption is the title of this program file, tst_kultbuhapplication.
    QCOMPARE(boxes.front().caption, QStringLiteral("tst_kultbuhapplication"));
    QCOMPARE(boxes.front().text, text);
}

void TestKultbuhApplication::everyKindOfEventIsGuarded_data() {
    QTest::addColumn<QString>("source");
    QTest::newRow("posted event") << QStringLiteral("posted");
    QTest::newRow("timer") << QStringLiteral("timer");
    QTest::newRow("queued call") << QStringLiteral("queued");
}

void TestKultbuhApplication::everyKindOfEventIsGuarded() {
    QFETCH(QString, source);
    ScopedScriptedDialogs dialogs;
    dialogs->expectErrorBox();
    Failing handler;

    if (source == u"posted")
        QCoreApplication::postEvent(&handler, new QEvent(Failing::eventType()));
    else if (source == u"timer")
        QTimer::singleShot(0, &handler, [&handler] { handler.fail(); });
    else
        QMetaObject::invokeMethod(
            &handler, [&handler] { handler.fail(); }, Qt::QueuedConnection);
    QTRY_COMPARE(handler.runs, 1);

    const auto boxes = dialogs->callsOf(ScriptedModalDialogs::Kind::ErrorBox);
    QCOMPARE(boxes.size(), size_t(1));
    QCOMPARE(boxes.front().text, QStringLiteral("no such column: FIO2."));
    QVERIFY(dialogs->failures().isEmpty());
}

void TestKultbuhApplication::programGoesOnAfterAnError() {
    ScopedScriptedDialogs dialogs;
    dialogs->expectErrorBox();
    dialogs->expectErrorBox();
    Failing handler;

    // The same handler runs again on the next event, and events still flow.
    QCoreApplication::postEvent(&handler, new QEvent(Failing::eventType()));
    QCoreApplication::postEvent(&handler, new QEvent(Failing::eventType()));
    QTRY_COMPARE(handler.runs, 2);
    bool later = false;
    QTimer::singleShot(0, &handler, [&later] { later = true; });
    QTRY_VERIFY(later);

    QCOMPARE(dialogs->callsOf(ScriptedModalDialogs::Kind::ErrorBox).size(), size_t(2));
    QVERIFY(dialogs->failures().isEmpty());
}

int main(int argc, char** argv) {
    kb::app::KultbuhApplication application(argc, argv);
    TestKultbuhApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kultbuhapplication.moc"
