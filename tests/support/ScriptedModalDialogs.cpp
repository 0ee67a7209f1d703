#include "ScriptedModalDialogs.h"

#include <QDialog>
#include <QTest>

namespace kbtest {

namespace {

const char* const kKindNames[] = {"execDialog", "inputPrompt", "messageBox", "errorBox", "confirm", "saveFileName"};

// The first answer of a queue, taken off it.
template <typename T> T takeFirst(std::deque<T>& answers) {
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
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
                                 .arg(QLatin1String(kKindNames[int(call.kind)]), call.caption, call.text);
        QTest::qFail(qUtf8Printable(line), __FILE__, __LINE__);
    }
    return expected;
}

int ScriptedModalDialogs::execDialog(QDialog& dialog) {
    if (!record({Kind::ExecDialog, dialog.windowTitle(), QString::fromLatin1(dialog.metaObject()->className())},
                !dialogScripts_.empty()))
        return QDialog::Rejected;
    const auto script = takeFirst(dialogScripts_);
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
    return takeFirst(promptAnswers_).value_or(initial);
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
    return record({Kind::Confirm, caption, text}, !confirmAnswers_.empty()) && takeFirst(confirmAnswers_);
}

std::optional<QString> ScriptedModalDialogs::saveFileName(QWidget*, const kb::ui::SaveDialogSettings& settings) {
    return record({Kind::SaveFileName, settings.title, settings.filter}, !saveAnswers_.empty())
               ? takeFirst(saveAnswers_)
               : std::nullopt;
}

ScopedScriptedDialogs::ScopedScriptedDialogs()
    : scripted_(new ScriptedModalDialogs),
      previous_(kb::ui::installDialogs(std::unique_ptr<kb::ui::ModalDialogs>(scripted_))) {}

ScopedScriptedDialogs::~ScopedScriptedDialogs() {
    kb::ui::installDialogs(std::move(previous_));
}

} // namespace kbtest
