#include "ErrorReporting.h"
#include "ScriptedModalDialogs.h"

#include <QTest>
#include <stdexcept>

using kb::ui::ScopedScriptedDialogs;
using kb::ui::ScriptedModalDialogs;

namespace {

// Emits a signal whose handler changes something and then fails.
class Sender : public QObject {
    Q_OBJECT
signals:
    void fired();
};

class Receiver : public QObject {
    Q_OBJECT
public:
    int runs = 0;
    QString message;
    void failingHandler() {
        ++runs;
        throw std::runtime_error(message.toStdString());
    }
    void quietHandler() { ++runs; }
};

} // namespace

class TestErrorReporting : public QObject {
    Q_OBJECT
private slots:
    void init() { kb::ui::setErrorCaption(QStringLiteral("Kultbuh")); }

    void errorLeavingAHandlerIsShownAndStopsThere_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ends in a letter")
            << QStringLiteral("no such table: Sotr") << QStringLiteral("no such table: Sotr.");
        QTest::newRow("ends in a full stop") << QStringLiteral("Готово.") << QStringLiteral("Готово.");
        QTest::newRow("empty") << QString() << QString();
    }
    void errorLeavingAHandlerIsShownAndStopsThere() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        ScopedScriptedDialogs scope;
        scope->expectErrorBox();
        Sender sender;
        Receiver receiver;
        receiver.message = message;
        kb::ui::connectHandler(&sender, &Sender::fired, &receiver, &Receiver::failingHandler);

        emit sender.fired(); // must not throw through the signal

        QCOMPARE(receiver.runs, 1);
        const auto boxes = scope->callsOf(ScriptedModalDialogs::Kind::ErrorBox);
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes.front().caption, QStringLiteral("Kultbuh"));
        QCOMPARE(boxes.front().text, shown);
        QVERIFY(scope->failures().isEmpty());
    }

    void handlerThatSucceedsShowsNothing() {
        ScopedScriptedDialogs scope;
        Sender sender;
        Receiver receiver;
        kb::ui::connectHandler(&sender, &Sender::fired, &receiver, &Receiver::quietHandler);
        emit sender.fired();
        emit sender.fired();
        QCOMPARE(receiver.runs, 2);
        QVERIFY(scope->calls().empty());
    }
};

QTEST_MAIN(TestErrorReporting)
#include "tst_errorreporting.moc"
