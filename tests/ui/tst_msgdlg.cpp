#include "BevelPanel.h"
#include "MsgDlg.h"
#include "ScriptedModalDialogs.h"
#include "TFormMsgDlg.h"
#include "TestRows.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

using namespace kbtest;
using namespace kb::ui;
using namespace Qt::StringLiterals;

namespace {

// Shows a message with details through ShowMsgDlgEx; the action runs on the dialog while it is shown and active.
// Returns the result code; 0 when the dialog was still open after the action.
int showMessage(TMsgButtons buttons, const std::function<void(TFormMsgDlg&)>& action) {
    kbtest::ScopedScriptedDialogs dialogs;
    dialogs->scriptDialog([&](QDialog& shown) {
        QApplication::setActiveWindow(&shown);
        if (!QTest::qWaitForWindowActive(&shown))
            return -1;
        action(static_cast<TFormMsgDlg&>(shown));
        return shown.isVisible() ? 0 : shown.result();
    });
    return ShowMsgDlgEx(u"Текст"_s, u"Подробности"_s, MsgQuestion, buttons);
}

} // namespace

class TestMsgDlg : public QObject {
    Q_OBJECT
private slots:
    // The three places filled by priority; each button's result code. The focus starts on the topmost button shown,
    // Enter presses the focused button, Escape only "Прервать" or "Отмена", neither with a modifier held but the
    // keypad's; the details toggle never closes; closing the window gives 2.
    void answers_data() {
        // action: a caption to click, keys, or "close"; result 0: the dialog stays open
        columns<int, QStringList, QString, int>("buttons", "places", "action", "result");
        const int yesNo = BtnYes | BtnNo;
        row("Ok Cancel: Ещё", int(BtnOk | BtnCancel), QStringList{{}, u"Верно"_s, u"Отмена"_s}, u"Ещё >>"_s, 0);
        row("Yes No Cancel: Enter", int(yesNo | BtnCancel), QStringList{u"Да"_s, u"Нет"_s, u"Отмена"_s}, u"Return"_s,
            6);
        row("Yes No: Tab, keypad Enter", yesNo, QStringList{{}, u"Да"_s, u"Нет"_s}, u"Tab, Num+Enter"_s, 7);
        row("Yes No: Shift+Enter", yesNo, QStringList{{}, u"Да"_s, u"Нет"_s}, u"Shift+Return"_s, 0);
        row("five: Escape", int(BtnYes | BtnRetry | BtnIgnore | BtnAbort | BtnCancel),
            QStringList{u"Повтор"_s, u"Да"_s, u"Прервать"_s}, u"Esc"_s, 3);
        row("no known flag: closed", 0xff80, QStringList{{}, {}, {}}, u"close"_s, 2);
    }
    void answers() {
        const auto [buttons, places, action, result] =
            fetch<int, QStringList, QString, int>("buttons", "places", "action", "result");
        QStringList shown;
        const int answer = showMessage(TMsgButtons::fromInt(buttons), [&](TFormMsgDlg& dialog) {
            for (QPushButton* button : {dialog.topButton, dialog.middleButton, dialog.bottomButton})
                shown << (button->isVisible() && button->isEnabled() ? button->text() : QString());
            const bool toggle = action == dialog.detailsToggle->text();
            const QKeySequence keys(action == u"close"_s || toggle ? QString() : action);
            if (action == u"close"_s)
                dialog.close();
            else if (toggle)
                QTest::mouseClick(dialog.detailsToggle, Qt::LeftButton);
            for (int i = 0; i < keys.count(); ++i)
                QTest::keyClick(QApplication::focusWidget(), keys[i].key(), keys[i].keyboardModifiers());
        });
        QCOMPARE(shown, places);
        QCOMPARE(answer, result);
    }

    // The kind's icon and title, on the title's shadow too; any other value changes nothing.
    void kinds_data() {
        columns<int, QString, QString>("kind", "icon", "title");
        row("error", 1, u"ImageErr"_s, u"Ошибка"_s);
        row("4", 4, QString(), QString());
    }
    void kinds() {
        const auto [kind, icon, title] = fetch<int, QString, QString>("kind", "icon", "title");
        TFormMsgDlg dialog;
        dialog.applyKind(TMsgKind(kind));
        QStringList icons;
        for (const QLabel* image :
             {dialog.questionIcon, dialog.warningIcon, dialog.informationIcon, dialog.errorIcon}) {
            if (!image->isHidden() && !image->pixmap().isNull())
                icons << image->objectName();
        }
        QCOMPARE(icons, icon.isEmpty() ? QStringList() : QStringList{icon});
        QCOMPARE(dialog.titleLabel->text() + u'|' + dialog.titleShadow->text(), title + u'|' + title);
    }

    // The label holds the text as given; the memo the text and the details on the next line, every kind of line break
    // one line end. "Ещё >>" shows the details when there are some and is disabled otherwise.
    void details_data() {
        columns<QString, QString, QString>("text", "details", "memo");
        row("line breaks", u"x\n\ry"_s, u"z\r\nw\n"_s, u"x\n\ny\nz\nw\n"_s);
        row("no details", u"A"_s, QString(), QString());
    }
    void details() {
        const auto [text, details, memo] = fetch<QString, QString, QString>("text", "details", "memo");
        TFormMsgDlg dialog;
        dialog.setMessage(text, details);
        QCOMPARE(dialog.textLabel->text(), text);
        QCOMPARE(dialog.detailsMemo->toPlainText(), memo);
        QCOMPARE(dialog.detailsToggle->isEnabled(), !details.isEmpty());
        QVERIFY(dialog.detailsMemo->isHidden() && !dialog.textPanel->isHidden() && !dialog.detailsToggle->isHidden());
        if (details.isEmpty())
            return;
        dialog.detailsToggle->click();
        QCOMPARE(dialog.detailsToggle->text(), u"<< Ещё"_s);
        QVERIFY(!dialog.detailsMemo->isHidden() && dialog.textPanel->isHidden());
    }
};

QTEST_MAIN(TestMsgDlg)
#include "tst_msgdlg.moc"
