#include "ScriptedModalDialogs.h"

#include <QDialog>
#include <QScopeGuard>
#include <QTest>

namespace kbtest {

namespace {

// The first answer of a queue, taken off it.
template <typename T> T takeFirst(std::deque<T>& answers) {
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

void ScriptedModalDialogs::scriptDialogAction(std::function<void(QDialog&)> action) {
    scriptDialog([action = std::move(action)](QDialog& dialog) {
        action(dialog);
        return dialog.result();
    });
}

bool ScriptedModalDialogs::record(Kind kind, const QString& caption, const QString& text, bool expected) {
    calls_.push_back({kind, caption, text});
    static const char* const kinds[] = {"execDialog", "inputPrompt", "messageBox",
                                        "errorBox",   "confirm",     "saveFileName"};
    if (!expected)
        QTest::qFail(qUtf8Printable(QStringLiteral("unexpected %1: caption \"%2\", text \"%3\"")
                                        .arg(QLatin1String(kinds[int(kind)]), caption, text)),
                     __FILE__, __LINE__);
    return expected;
}

int ScriptedModalDialogs::execDialog(QDialog& dialog) {
    const QString className = QString::fromLatin1(dialog.metaObject()->className());
    if (!record(Kind::ExecDialog, dialog.windowTitle(), className, !scripts_.empty()))
        return QDialog::Rejected;
    const auto script = takeFirst(scripts_);
    dialog.setResult(0);
    dialog.show();
    const auto hide = qScopeGuard([&dialog] { dialog.hide(); }); // as a modal showing ends hidden
    return script(dialog);
}

QString ScriptedModalDialogs::inputPrompt(const QString& caption, const QString& prompt, const QString& initial) {
    if (!record(Kind::InputPrompt, caption, prompt, !prompts_.empty()))
        return initial;
    return takeFirst(prompts_).value_or(initial);
}

void ScriptedModalDialogs::messageBox(const QString& caption, const QString& text) {
    messageBoxes_ -= record(Kind::MessageBox, caption, text, messageBoxes_ > 0);
}

void ScriptedModalDialogs::errorBox(const QString& caption, const QString& text) {
    errorBoxes_ -= record(Kind::ErrorBox, caption, text, errorBoxes_ > 0);
}

bool ScriptedModalDialogs::confirm(const QString& caption, const QString& text) {
    return record(Kind::Confirm, caption, text, !confirms_.empty()) && takeFirst(confirms_);
}

std::optional<QString> ScriptedModalDialogs::saveFileName(QWidget*, const kb::ui::SaveDialogSettings& settings) {
    return record(Kind::SaveFileName, settings.title, settings.filter, !saves_.empty()) ? takeFirst(saves_)
                                                                                        : std::nullopt;
}

ScopedScriptedDialogs::ScopedScriptedDialogs()
    : scripted_(new ScriptedModalDialogs),
      previous_(kb::ui::installDialogs(std::unique_ptr<kb::ui::ModalDialogs>(scripted_))) {}

} // namespace kbtest
