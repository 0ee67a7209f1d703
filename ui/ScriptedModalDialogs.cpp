#include "ScriptedModalDialogs.h"

#include <QDialog>
#include <QtDebug>

namespace kb::ui {

namespace {

template <typename T> bool takeFront(std::deque<T>& queue, T& value) {
    if (queue.empty())
        return false;
    value = std::move(queue.front());
    queue.pop_front();
    return true;
}

bool takeOne(int& expected) {
    if (expected == 0)
        return false;
    --expected;
    return true;
}

} // namespace

QString kindName(ScriptedModalDialogs::Kind kind) {
    switch (kind) {
    case ScriptedModalDialogs::Kind::ExecDialog:
        return QStringLiteral("execDialog");
    case ScriptedModalDialogs::Kind::InputPrompt:
        return QStringLiteral("inputPrompt");
    case ScriptedModalDialogs::Kind::MessageBox:
        return QStringLiteral("messageBox");
    case ScriptedModalDialogs::Kind::ErrorBox:
        return QStringLiteral("errorBox");
    case ScriptedModalDialogs::Kind::Confirm:
        return QStringLiteral("confirm");
    case ScriptedModalDialogs::Kind::SaveFileName:
        return QStringLiteral("saveFileName");
    }
    return QString();
}

ScriptedModalDialogs::~ScriptedModalDialogs() {
    if (const int unused = unusedAnswers())
        qWarning("ScriptedModalDialogs: %d scripted answer(s) never asked for", unused);
}

void ScriptedModalDialogs::scriptDialog(DialogScript script) {
    dialogScripts_.push_back(std::move(script));
}

void ScriptedModalDialogs::scriptDialogAction(std::function<void(QDialog&)> action) {
    dialogScripts_.push_back([action = std::move(action)](QDialog& dialog) {
        action(dialog);
        return dialog.result();
    });
}

void ScriptedModalDialogs::scriptInput(std::optional<QString> answer) {
    inputAnswers_.push_back(std::move(answer));
}

void ScriptedModalDialogs::expectMessageBox() {
    ++expectedMessageBoxes_;
}

void ScriptedModalDialogs::expectErrorBox() {
    ++expectedErrorBoxes_;
}

void ScriptedModalDialogs::scriptConfirm(bool ok) {
    confirmAnswers_.push_back(ok);
}

void ScriptedModalDialogs::scriptSaveFileName(std::optional<QString> path) {
    saveAnswers_.push_back(std::move(path));
}

std::vector<ScriptedModalDialogs::Call> ScriptedModalDialogs::callsOf(Kind kind) const {
    std::vector<Call> result;
    for (const Call& call : calls_) {
        if (call.kind == kind)
            result.push_back(call);
    }
    return result;
}

int ScriptedModalDialogs::unusedAnswers() const {
    return static_cast<int>(dialogScripts_.size() + inputAnswers_.size() + confirmAnswers_.size() +
                            saveAnswers_.size()) +
           expectedMessageBoxes_ + expectedErrorBoxes_;
}

void ScriptedModalDialogs::fail(const Call& call) {
    const QString line =
        QStringLiteral("unexpected %1: caption \"%2\", text \"%3\"").arg(kindName(call.kind), call.caption, call.text);
    failures_.append(line);
    qWarning("ScriptedModalDialogs: %s", qUtf8Printable(line));
}

int ScriptedModalDialogs::execDialog(QDialog& dialog) {
    const Call call{
        Kind::ExecDialog, dialog.windowTitle(), QString::fromLatin1(dialog.metaObject()->className()), QString(), {}};
    calls_.push_back(call);
    DialogScript script;
    if (!takeFront(dialogScripts_, script)) {
        fail(call);
        return QDialog::Rejected;
    }
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
    const Call call{Kind::InputPrompt, caption, prompt, initial, {}};
    calls_.push_back(call);
    std::optional<QString> answer;
    if (!takeFront(inputAnswers_, answer)) {
        fail(call);
        return initial;
    }
    // The real entry holds at most 255 characters.
    return answer ? answer->left(255) : initial;
}

void ScriptedModalDialogs::messageBox(const QString& caption, const QString& text) {
    const Call call{Kind::MessageBox, caption, text, QString(), {}};
    calls_.push_back(call);
    if (!takeOne(expectedMessageBoxes_))
        fail(call);
}

void ScriptedModalDialogs::errorBox(const QString& caption, const QString& text) {
    const Call call{Kind::ErrorBox, caption, text, QString(), {}};
    calls_.push_back(call);
    if (!takeOne(expectedErrorBoxes_))
        fail(call);
}

bool ScriptedModalDialogs::confirm(const QString& caption, const QString& text) {
    const Call call{Kind::Confirm, caption, text, QString(), {}};
    calls_.push_back(call);
    bool ok = false;
    if (!takeFront(confirmAnswers_, ok)) {
        fail(call);
        return false;
    }
    return ok;
}

std::optional<QString> ScriptedModalDialogs::saveFileName(QWidget*, const SaveDialogSettings& settings) {
    const Call call{Kind::SaveFileName, settings.title, QString(), QString(), settings};
    calls_.push_back(call);
    std::optional<QString> path;
    if (!takeFront(saveAnswers_, path)) {
        fail(call);
        return std::nullopt;
    }
    return path;
}

ScopedScriptedDialogs::ScopedScriptedDialogs()
    : scripted_(new ScriptedModalDialogs), previous_(installDialogs(std::unique_ptr<ModalDialogs>(scripted_))) {}

ScopedScriptedDialogs::~ScopedScriptedDialogs() {
    installDialogs(std::move(previous_));
}

} // namespace kb::ui
