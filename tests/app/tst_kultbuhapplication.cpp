#include "KultbuhApplication.h"
#include "ScriptedModalDialogs.h"
#include "ShellTestMain.h"

#include <QPushButton>
#include <QTest>
#include <stdexcept>

using namespace Qt::StringLiterals;

class TestKultbuhApplication : public QObject {
    Q_OBJECT
private slots:
    // An error leaving any event handler (a click's, a posted call's) is
    // shown in the error box captioned with the program's title, and the
    // program goes on: the same handler runs again and fails the same way.
    void errorLeavingAHandlerIsShown() {
        kbtest::ScopedScriptedDialogs dialogs;
        for (int i = 0; i < 3; ++i)
            dialogs->expectErrorBox();
        QPushButton button(u"Пуск"_s);
        int runs = 0;
        connect(&button, &QPushButton::clicked, [&runs] {
            ++runs;
            throw std::runtime_error("Ошибка при открытии запроса");
        });
        button.show();

        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QMetaObject::invokeMethod(
            &button, [] { throw 17; }, Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents();

        QCOMPARE(runs, 2);
        QVERIFY(!button.isDown());
        QStringList shown;
        for (const auto& box : dialogs->calls())
            shown << box.caption + u": "_s + box.text;
        const QString clicked = u"tst_kultbuhapplication: Ошибка при открытии запроса."_s;
        QCOMPARE(shown, (QStringList{clicked, clicked, u"tst_kultbuhapplication: Неизвестная ошибка."_s}));
    }
};

KBTEST_SHELL_MAIN(TestKultbuhApplication)

#include "tst_kultbuhapplication.moc"
