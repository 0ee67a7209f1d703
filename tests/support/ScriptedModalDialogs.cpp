#include "ScriptedModalDialogs.h"

#include <QDialog>
#include <QTest>

namespace kbtest {

namespace {

QString kindName(ScriptedModalDialogs::Kind kind) {
    static const char* const names[] = {"execDialog", "inputPrompt", "messageBox",
                                        "errorBox",   "confirm",     "saveFileName"};
    return QString::fromLatin1(names[static_cast<int>(kind)]);
}

} // namespace

void ScriptedModalDialogs::scriptDialog(std::function<int(QDialog&)> script) {
    dialogScripts_.push_back(std::move(script));
}

void ScriptedModalDialogs::scriptDialogAction(std::function<void(QDialog&)> action) {
    dialogScripts_.push_back([action = std::move(action)](QDialog& dialog) {
        action(dialog);
        return dialog.result();
    });
}

bool ScriptedModalDialogs::record(const Call& call, bool expected) {
    calls_.push_back(call);
    if (!expected) {
        const QString line = QStringLiteral("unexpected %1: caption \"%2\", text \"%3\"")
                                 .arg(kindName(call.kind), call.caption, call.text);
        QTest::qFail(qUtf8Printable(line), __FILE__, __LINE__);
    }
    return expected;
}

int ScriptedModalDialogs::execDialog(QDialog& dialog) {
    if (!record({Kind::ExecDialog, dialog.windowTitle(), QString::fromLatin1(dialog.metaObject()->className())},
                !dialogScripts_.empty()))
        return QDialog::Rejected;
    const auto script = std::move(dialogScripts_.front());
    dialogScripts_.pop_front();
    dialog.setResult(0);
    dialog.show();
    // Hidden again however the script ends, as a modal showing ends hidden.
    const struct HideOnExit {
        QDialog& shown;
        ~HideOnExit() { shown.hide(); }
    } hideOnExit{dialog};
    return script(dialog);
}

QString ScriptedModalDialogs::inputPrompt(const QString& caption, const QString& prompt, const QString& initial) {
    if (!record({Kind::InputPrompt, caption, prompt}, !promptAnswers_.empty()))
        return initial;
    const std::optional<QString> answer = std::move(promptAnswers_.front());
    promptAnswers_.pop_front();
    return answer.value_or(initial);
}

void ScriptedModalDialogs::messageBox(const QString& caption, const QString& text) {
    if (record({Kind::MessageBox, caption, text}, expectedMessageBoxes_ > 0))
        --expectedMessageBoxes_;
}

void ScriptedModalDialogs::errorBox(const QString& caption, const QString& text) {
    if (record({Kind::ErrorBox, caption, text}, expectedErrorBoxes_ > 0))
        --expectedErrorBoxes_;
}

bool ScriptedModalDialogs::confirm(const QString& caption, const QString& text) {
    if (!record({Kind::Confirm, caption, text}, !confirmAnswers_.empty()))
        return false;
    const bool ok = confirmAnswers_.front();
    confirmAnswers_.pop_front();
    return ok;
}

std::optional<QString> ScriptedModalDialogs::saveFileName(QWidget*, const kb::ui::SaveDialogSettings& settings) {
    if (!record({Kind::SaveFileName, settings.title, settings.filter}, !saveAnswers_.empty()))
        return std::nullopt;
    const std::optional<QString> answer = std::move(saveAnswers_.front());
    saveAnswers_.pop_front();
    return answer;
}

ScopedScriptedDialogs::ScopedScriptedDialogs()
    : scripted_(new ScriptedModalDialogs),
      previous_(kb::ui::installDialogs(std::unique_ptr<kb::ui::ModalDialogs>(scripted_))) {}

ScopedScriptedDialogs::~ScopedScriptedDialogs() {
    kb::ui::installDialogs(std::move(previous_));
}

} // namespace kbtest
