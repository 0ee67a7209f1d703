#include "DbError.h"
#include "KultbuhApplication.h"
#include "ScriptedModalDialogs.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>

using kb::ui::ScopedScriptedDialogs;
using kb::ui::ScriptedModalDialogs;

namespace {

// What the handlers throw.
enum class Thrown { Runtime, Database, EndsWithStop, NotStandard };

[[noreturn]] void throwError(Thrown what) {
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
    throw 0;
}

// A window whose handlers change something, then fail.
class FailingWindow : public QWidget {
public:
    FailingWindow() : button(new QPushButton(QStringLiteral("Пуск"), this)) {
        button->setGeometry(0, 0, 80, 25);
        QObject::connect(button, &QPushButton::clicked, this, [this] {
            ++runs;
            throwError(what);
        });
    }
    QPushButton* button;
    Thrown what = Thrown::Runtime;
    int runs = 0;
    int keyRuns = 0;

protected:
    void keyPressEvent(QKeyEvent*) override {
        ++keyRuns;
        throwError(what);
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
    FailingWindow window;
    window.what = thrown;
    window.show();

    QTest::mouseClick(window.button, Qt::LeftButton);

    QCOMPARE(window.runs, 1);
    QVERIFY2(dialogs->failures().isEmpty(), qPrintable(dialogs->failures().join(u'\n')));
    const auto boxes = dialogs->callsOf(ScriptedModalDialogs::Kind::ErrorBox);
    QCOMPARE(boxes.size(), size_t(1));
    // The caption is the title of this program file, tst_kultbuhapplication.
    QCOMPARE(boxes.front().caption, QStringLiteral("tst_kultbuhapplication"));
    QCOMPARE(boxes.front().text, text);
    // The button is not left pressed.
    QVERIFY(!window.button->isDown());
}

void TestKultbuhApplication::everyKindOfEventIsGuarded_data() {
    QTest::addColumn<QString>("source");
    QTest::newRow("key press handler") << QStringLiteral("key");
    QTest::newRow("timer") << QStringLiteral("timer");
    QTest::newRow("queued call") << QStringLiteral("queued");
}

void TestKultbuhApplication::everyKindOfEventIsGuarded() {
    QFETCH(QString, source);
    ScopedScriptedDialogs dialogs;
    dialogs->expectErrorBox();
    FailingWindow window;
    window.what = Thrown::Database;
    window.show();
    int calls = 0;
    const auto fail = [&calls] {
        ++calls;
        throwError(Thrown::Database);
    };

    if (source == u"key") {
        QTest::keyClick(&window, Qt::Key_A);
        calls = window.keyRuns;
    } else if (source == u"timer") {
        QTimer::singleShot(0, &window, fail);
        QTRY_COMPARE(calls, 1);
    } else {
        QMetaObject::invokeMethod(&window, fail, Qt::QueuedConnection);
        QTRY_COMPARE(calls, 1);
    }

    QCOMPARE(calls, 1);
    const auto boxes = dialogs->callsOf(ScriptedModalDialogs::Kind::ErrorBox);
    QCOMPARE(boxes.size(), size_t(1));
    QCOMPARE(boxes.front().text, QStringLiteral("no such column: FIO2."));
    QVERIFY(dialogs->failures().isEmpty());
}

void TestKultbuhApplication::programGoesOnAfterAnError() {
    ScopedScriptedDialogs dialogs;
    dialogs->expectErrorBox();
    dialogs->expectErrorBox();
    FailingWindow window;
    window.show();

    QTest::mouseClick(window.button, Qt::LeftButton);
    // The same handler runs again on the next click, and events still flow.
    QTest::mouseClick(window.button, Qt::LeftButton);
    bool later = false;
    QTimer::singleShot(0, &window, [&later] { later = true; });
    QTRY_VERIFY(later);

    QCOMPARE(window.runs, 2);
    QCOMPARE(dialogs->callsOf(ScriptedModalDialogs::Kind::ErrorBox).size(), size_t(2));
    QVERIFY(dialogs->failures().isEmpty());
}

int main(int argc, char** argv) {
    kb::app::KultbuhApplication application(argc, argv);
    TestKultbuhApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kultbuhapplication.moc"
