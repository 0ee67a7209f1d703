// The application object's default error handler. The failing handlers are event handlers of a plain object, a timer
// and a queued call: their events travel through Qt's core alone, whose frames unwind cleanly. The program's widget
// handlers catch their own errors (see connectHandler), as an exception unwinding Qt's widget event handling leaks that
// module's copies of the event.

#include "DbError.h"
#include "KultbuhApplication.h"
#include "ScriptedModalDialogs.h"
#include "ShellTestMain.h"

#include <QTest>
#include <QTimer>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// An object whose handler of its own event type counts its runs, then fails.
class Failing : public QObject {
public:
    static QEvent::Type eventType() {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }
    void fail() {
        switch (++runs) {
        case 1:
            throw std::runtime_error("Ошибка при открытии запроса");
        case 2:
            throw kb::DbError(u"no such column: FIO2"_s);
        case 3:
            throw std::runtime_error("Операция отменена.");
        default:
            throw 17;
        }
    }
    int runs = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == eventType())
            fail();
        return QObject::event(event);
    }
};

} // namespace

class TestKultbuhApplication : public QObject {
    Q_OBJECT
private slots:
    // An error leaving any event handler (a sent or posted event, a timer, a queued call) is shown in the error box
    // captioned with the program's title, with the full-stop rule; the program goes on and the same handler runs again
    // on the next event.
    void errorLeavingAHandlerIsShown() {
        kbtest::ScopedScriptedDialogs dialogs;
        for (int i = 0; i < 4; ++i)
            dialogs->expectErrorBox();
        Failing handler;

        QEvent event(Failing::eventType());
        QVERIFY(!QCoreApplication::sendEvent(&handler, &event));
        QCoreApplication::postEvent(&handler, new QEvent(Failing::eventType()));
        QTRY_COMPARE(handler.runs, 2);
        QTimer::singleShot(0, &handler, [&handler] { handler.fail(); });
        QTRY_COMPARE(handler.runs, 3);
        QMetaObject::invokeMethod(
            &handler, [&handler] { handler.fail(); }, Qt::QueuedConnection);
        QTRY_COMPARE(handler.runs, 4);
        bool later = false;
        QTimer::singleShot(0, &handler, [&later] { later = true; });
        QTRY_VERIFY(later);

        QStringList shown;
        for (const auto& box : dialogs->calls())
            shown << box.caption + u": "_s + box.text;
        const QString caption = u"tst_kultbuhapplication: "_s;
        QCOMPARE(shown, (QStringList{caption + u"Ошибка при открытии запроса."_s, caption + u"no such column: FIO2."_s,
                                     caption + u"Операция отменена."_s, caption + u"Неизвестная ошибка."_s}));
    }
};

KBTEST_SHELL_MAIN(TestKultbuhApplication)

#include "tst_kultbuhapplication.moc"
