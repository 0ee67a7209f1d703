// The application object's default error handler. The failing handler is the event handler of a plain object: its
// events travel through Qt's core alone, whose frames unwind cleanly. The program's widget
// handlers catch their own errors (see connectHandler), as an exception unwinding Qt's widget event handling leaks that
// module's copies of the event.

#include "DbError.h"
#include "KultbuhApplication.h"
#include "ScriptedModalDialogs.h"
#include "ShellTestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An object whose handler of its own event type fails: with a message first, then with something not an exception.
class Failing : public QObject {
public:
    static QEvent::Type eventType() {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }
    int runs = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == eventType() && ++runs == 1)
            throw kb::DbError(u"no such column: FIO2"_s);
        if (event->type() == eventType())
            throw 17;
        return QObject::event(event);
    }
};

} // namespace

class TestKultbuhApplication : public QObject {
    Q_OBJECT
private slots:
    // An error leaving an event handler (a sent or a posted event) is shown in the error box captioned with the
    // program's title, with the full-stop rule; the program goes on and the same handler runs again on the next event.
    void errorLeavingAHandlerIsShown() {
        kbtest::ScopedScriptedDialogs dialogs;
        dialogs->expectErrorBox();
        dialogs->expectErrorBox();
        Failing handler;

        QEvent event(Failing::eventType());
        QVERIFY(!QCoreApplication::sendEvent(&handler, &event));
        QCoreApplication::postEvent(&handler, new QEvent(Failing::eventType()));
        QTRY_COMPARE(handler.runs, 2);

        QStringList shown;
        for (const auto& box : dialogs->calls())
            shown << box.caption + u": "_s + box.text;
        QCOMPARE(shown, (QStringList{u"tst_kultbuhapplication: no such column: FIO2."_s,
                                     u"tst_kultbuhapplication: Неизвестная ошибка."_s}));
    }
};

KBTEST_SHELL_MAIN(TestKultbuhApplication)

#include "tst_kultbuhapplication.moc"
