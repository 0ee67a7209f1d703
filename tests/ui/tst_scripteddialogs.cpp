#include "QtModalDialogs.h"
#include "ScriptedModalDialogs.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

using kb::ui::ScopedScriptedDialogs;
using kb::ui::ScriptedModalDialogs;
using Kind = ScriptedModalDialogs::Kind;

Q_DECLARE_METATYPE(ScriptedModalDialogs::Kind)

namespace {

// A dialog with one button that accepts it.
struct AcceptingDialog {
    QDialog dialog;
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    AcceptingDialog() {
        dialog.setWindowTitle(QStringLiteral("Окно"));
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    }
};

// Asks one question of the given kind and describes the answer as text.
QString ask(ScriptedModalDialogs& dialogs, Kind kind) {
    switch (kind) {
    case Kind::ExecDialog: {
        AcceptingDialog window;
        return QString::number(dialogs.execDialog(window.dialog));
    }
    case Kind::InputPrompt:
        return dialogs.inputPrompt(QStringLiteral("Ввод"), QStringLiteral("ФИО"), QStringLiteral("исходный"));
    case Kind::MessageBox:
        dialogs.messageBox(QStringLiteral("Кб"), QStringLiteral("Текст"));
        return QStringLiteral("shown");
    case Kind::ErrorBox:
        dialogs.errorBox(QStringLiteral("Кб"), QStringLiteral("Ошибка."));
        return QStringLiteral("shown");
    case Kind::Confirm:
        return dialogs.confirm(QStringLiteral("Вопрос"), QStringLiteral("Удалить?")) ? QStringLiteral("ok")
                                                                                     : QStringLiteral("cancel");
    case Kind::SaveFileName: {
        const auto path = dialogs.saveFileName(nullptr, {QStringLiteral("txt"), QStringLiteral("*.txt"), {}, {}});
        return path ? *path : QStringLiteral("none");
    }
    }
    return QString();
}

} // namespace

class TestScriptedDialogs : public QObject {
    Q_OBJECT
private slots:
    void unexpectedQuestionIsAFailureWithASafeAnswer_data();
    void unexpectedQuestionIsAFailureWithASafeAnswer();
    void eachKindTakesItsOwnAnswersInOrder();
    void inputAnswerIsCutToTheEntryLength();
    void dialogScriptActsOnTheShownDialog();
    void dialogIsHiddenWhenTheScriptThrows();
    void scopeRestoresThePreviousImplementation();
};

void TestScriptedDialogs::unexpectedQuestionIsAFailureWithASafeAnswer_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("caption");

    QTest::newRow("dialog is rejected") << Kind::ExecDialog << QStringLiteral("0") << QStringLiteral("Окно");
    QTest::newRow("input gives the initial text")
        << Kind::InputPrompt << QStringLiteral("исходный") << QStringLiteral("Ввод");
    QTest::newRow("message box") << Kind::MessageBox << QStringLiteral("shown") << QStringLiteral("Кб");
    QTest::newRow("error box") << Kind::ErrorBox << QStringLiteral("shown") << QStringLiteral("Кб");
    QTest::newRow("confirmation is Cancel") << Kind::Confirm << QStringLiteral("cancel") << QStringLiteral("Вопрос");
    QTest::newRow("save dialog gives no file") << Kind::SaveFileName << QStringLiteral("none") << QString();
}

void TestScriptedDialogs::unexpectedQuestionIsAFailureWithASafeAnswer() {
    QFETCH(Kind, kind);
    QFETCH(QString, answer);
    QFETCH(QString, caption);

    ScriptedModalDialogs dialogs;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unexpected ")));
    QCOMPARE(ask(dialogs, kind), answer);
    QCOMPARE(dialogs.failures().size(), 1);
    QVERIFY2(dialogs.failures().front().contains(kindName(kind)), qPrintable(dialogs.failures().front()));
    QCOMPARE(dialogs.calls().size(), size_t(1));
    QCOMPARE(dialogs.calls().front().kind, kind);
    QCOMPARE(dialogs.calls().front().caption, caption);
}

void TestScriptedDialogs::eachKindTakesItsOwnAnswersInOrder() {
    ScriptedModalDialogs dialogs;
    dialogs.scriptInput(QStringLiteral("первый"));
    dialogs.scriptInput(std::nullopt);
    dialogs.scriptConfirm(true);
    dialogs.scriptConfirm(false);
    dialogs.scriptSaveFileName(QStringLiteral("/tmp/a.txt"));
    dialogs.expectErrorBox();

    QCOMPARE(ask(dialogs, Kind::Confirm), QStringLiteral("ok"));
    QCOMPARE(ask(dialogs, Kind::InputPrompt), QStringLiteral("первый"));
    QCOMPARE(ask(dialogs, Kind::ErrorBox), QStringLiteral("shown"));
    QCOMPARE(ask(dialogs, Kind::InputPrompt), QStringLiteral("исходный"));
    QCOMPARE(ask(dialogs, Kind::SaveFileName), QStringLiteral("/tmp/a.txt"));
    QCOMPARE(ask(dialogs, Kind::Confirm), QStringLiteral("cancel"));

    QVERIFY2(dialogs.failures().isEmpty(), qPrintable(dialogs.failures().join(u'\n')));
    QCOMPARE(dialogs.unusedAnswers(), 0);
    const std::vector<Kind> order{Kind::Confirm,     Kind::InputPrompt,  Kind::ErrorBox,
                                  Kind::InputPrompt, Kind::SaveFileName, Kind::Confirm};
    QCOMPARE(dialogs.calls().size(), order.size());
    for (size_t i = 0; i < order.size(); ++i)
        QCOMPARE(dialogs.calls()[i].kind, order[i]);
    const auto prompts = dialogs.callsOf(Kind::InputPrompt);
    QCOMPARE(prompts.size(), size_t(2));
    QCOMPARE(prompts[0].text, QStringLiteral("ФИО"));
    QCOMPARE(prompts[0].initial, QStringLiteral("исходный"));
    QCOMPARE(dialogs.callsOf(Kind::SaveFileName).front().settings.defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(dialogs.callsOf(Kind::ErrorBox).front().text, QStringLiteral("Ошибка."));
}

void TestScriptedDialogs::inputAnswerIsCutToTheEntryLength() {
    ScriptedModalDialogs dialogs;
    dialogs.scriptInput(QString(300, u'я'));
    QCOMPARE(dialogs.inputPrompt(QString(), QString(), QString()), QString(255, u'я'));
}

void TestScriptedDialogs::dialogScriptActsOnTheShownDialog() {
    ScriptedModalDialogs dialogs;
    bool shownDuringScript = false;
    dialogs.scriptDialogAction([&](QDialog& dialog) {
        shownDuringScript = dialog.isVisible();
        dialog.findChild<QPushButton*>()->click();
    });
    dialogs.scriptDialog([](QDialog&) { return 7; });

    AcceptingDialog first;
    QCOMPARE(dialogs.execDialog(first.dialog), int(QDialog::Accepted));
    QVERIFY(shownDuringScript);
    QVERIFY(!first.dialog.isVisible());

    AcceptingDialog second;
    QCOMPARE(dialogs.execDialog(second.dialog), 7);
    QVERIFY(!second.dialog.isVisible());

    QCOMPARE(dialogs.calls().size(), size_t(2));
    QCOMPARE(dialogs.calls()[0].caption, QStringLiteral("Окно"));
    QCOMPARE(dialogs.calls()[0].text, QStringLiteral("QDialog"));
    QVERIFY(dialogs.failures().isEmpty());
}

void TestScriptedDialogs::dialogIsHiddenWhenTheScriptThrows() {
    ScriptedModalDialogs dialogs;
    dialogs.scriptDialog([](QDialog&) -> int { throw std::runtime_error("сбой"); });
    AcceptingDialog window;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, dialogs.execDialog(window.dialog));
    QVERIFY(!window.dialog.isVisible());
}

void TestScriptedDialogs::scopeRestoresThePreviousImplementation() {
    QVERIFY(dynamic_cast<kb::ui::QtModalDialogs*>(&kb::ui::dialogs()) != nullptr);
    {
        ScopedScriptedDialogs outer;
        QCOMPARE(&kb::ui::dialogs(), &*outer);
        {
            ScopedScriptedDialogs inner;
            QCOMPARE(&kb::ui::dialogs(), &*inner);
            inner->expectMessageBox();
            kb::ui::dialogs().messageBox(QStringLiteral("Кб"), QStringLiteral("внутри"));
            QCOMPARE(inner->calls().size(), size_t(1));
        }
        QCOMPARE(&kb::ui::dialogs(), &*outer);
        QVERIFY(outer->calls().empty());
    }
    QVERIFY(dynamic_cast<kb::ui::QtModalDialogs*>(&kb::ui::dialogs()) != nullptr);
}

QTEST_MAIN(TestScriptedDialogs)
#include "tst_scripteddialogs.moc"
