#include "KultbuhApplication.h"
#include "ScriptedModalDialogs.h"

#include <QPushButton>
#include <QTest>
#include <stdexcept>

using namespace Qt::StringLiterals;

class TestKultbuhApplication : public QObject {
    Q_OBJECT
private slots:
    // An error leaving any event handler is shown in the error box captioned
    // with the program's title, and the program goes on: the same handler
    // runs again and fails again the same way.
    void errorLeavingAHandlerIsShown_data() {
        QTest::addColumn<bool>("posted"); // a posted call instead of a click on a button
        QTest::addColumn<bool>("standard");
        QTest::addColumn<QString>("text");
        QTest::newRow("click, standard error") << false << true << u"Ошибка при открытии запроса."_s;
        QTest::newRow("posted call, not a standard exception") << true << false << u"Неизвестная ошибка."_s;
    }
    void errorLeavingAHandlerIsShown() {
        QFETCH(bool, posted);
        QFETCH(bool, standard);
        QFETCH(QString, text);
        kbtest::ScopedScriptedDialogs dialogs;
        dialogs->expectErrorBox();
        dialogs->expectErrorBox();
        QPushButton button(u"Пуск"_s);
        int runs = 0;
        const auto fail = [&runs, standard] {
            ++runs;
            if (standard)
                throw std::runtime_error("Ошибка при открытии запроса");
            throw 17;
        };
        connect(&button, &QPushButton::clicked, fail);
        button.show();

        for (int i = 0; i < 2; ++i) {
            if (posted)
                QMetaObject::invokeMethod(&button, fail, Qt::QueuedConnection);
            else
                QTest::mouseClick(&button, Qt::LeftButton);
            QCoreApplication::sendPostedEvents();
        }

        QCOMPARE(runs, 2);
        QVERIFY(!button.isDown());
        QCOMPARE(dialogs->calls().size(), size_t(2));
        for (const auto& box : dialogs->calls()) {
            QCOMPARE(box.caption, u"tst_kultbuhapplication"_s);
            QCOMPARE(box.text, text);
        }
    }
};

int main(int argc, char** argv) {
    kb::app::KultbuhApplication application(argc, argv);
    TestKultbuhApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kultbuhapplication.moc"
