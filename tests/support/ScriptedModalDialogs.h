#pragma once

#include "ModalDialogs.h"

#include <QDialog>
#include <QScopeGuard>
#include <QTest>
#include <deque>
#include <functional>
#include <vector>

namespace kbtest {

// Answers the program's modal questions from a script and logs them, so a test never waits on a real modal window.
// A question with no answer queued (or a box not expected) fails the running test and is answered the safe way
// (Cancel, no file, the dialog rejected) so the code under test goes on.
class ScriptedModalDialogs : public kb::ui::ModalDialogs {
public:
    enum class Kind { ExecDialog, InputPrompt, MessageBox, ErrorBox, Confirm, SaveFileName };
    struct Call {
        Kind kind;
        QString caption; // the window title for ExecDialog
        QString text;    // the box or prompt text; the dialog's class name for ExecDialog, the filter for SaveFileName
    };

    // The next execDialog shows the dialog (not modally), runs the script on it, hides it and returns the script's
    // value; or, with an action, the dialog's own result after it.
    void scriptDialog(std::function<int(QDialog&)> script) { scripts_.push_back(std::move(script)); }
    void scriptDialogAction(std::function<void(QDialog&)> action) {
        scriptDialog([action = std::move(action)](QDialog& dialog) { return action(dialog), dialog.result(); });
    }
    // The next error or message box is expected (and acknowledged with OK); the next confirmation, input prompt or
    // save dialog is answered with OK (true, the text, the path) or Cancel (false, nullopt).
    void expectErrorBox() { ++errorBoxes_; }
    void expectMessageBox() { ++messageBoxes_; }
    void answerConfirm(bool ok) { confirms_.push_back(ok); }
    void answerInputPrompt(std::optional<QString> text) { prompts_.push_back(std::move(text)); }
    void answerSaveFileName(std::optional<QString> path) { saves_.push_back(std::move(path)); }

    const std::vector<Call>& calls() const { return calls_; }

    int execDialog(QDialog& dialog) override {
        if (!record(Kind::ExecDialog, dialog.windowTitle(), QString::fromLatin1(dialog.metaObject()->className()),
                    !scripts_.empty()))
            return QDialog::Rejected;
        const auto script = takeFirst(scripts_);
        dialog.setResult(0);
        dialog.show();
        const auto hide = qScopeGuard([&dialog] { dialog.hide(); }); // as a modal showing ends hidden
        return script(dialog);
    }
    QString inputPrompt(const QString& caption, const QString& prompt, const QString& initial) override {
        return record(Kind::InputPrompt, caption, prompt, !prompts_.empty()) ? takeFirst(prompts_).value_or(initial)
                                                                             : initial;
    }
    void messageBox(const QString& caption, const QString& text) override {
        messageBoxes_ -= record(Kind::MessageBox, caption, text, messageBoxes_ > 0);
    }
    void errorBox(const QString& caption, const QString& text) override {
        errorBoxes_ -= record(Kind::ErrorBox, caption, text, errorBoxes_ > 0);
    }
    bool confirm(const QString& caption, const QString& text) override {
        return record(Kind::Confirm, caption, text, !confirms_.empty()) && takeFirst(confirms_);
    }
    std::optional<QString> saveFileName(QWidget*, const kb::ui::SaveDialogSettings& settings) override {
        return record(Kind::SaveFileName, settings.title, settings.filter, !saves_.empty()) ? takeFirst(saves_)
                                                                                            : std::nullopt;
    }

private:
    template <typename T> static T takeFirst(std::deque<T>& answers) {
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    // Logs the call; false (and a test failure) when it was not expected.
    bool record(Kind kind, const QString& caption, const QString& text, bool expected) {
        calls_.push_back({kind, caption, text});
        static const char* const kinds[] = {"execDialog", "inputPrompt", "messageBox",
                                            "errorBox",   "confirm",     "saveFileName"};
        if (!expected)
            QTest::qFail(qUtf8Printable(QStringLiteral("unexpected %1: caption \"%2\", text \"%3\"")
                                            .arg(QLatin1String(kinds[int(kind)]), caption, text)),
                         __FILE__, __LINE__);
        return expected;
    }

    std::deque<std::function<int(QDialog&)>> scripts_;
    int errorBoxes_ = 0, messageBoxes_ = 0;
    std::deque<bool> confirms_;
    std::deque<std::optional<QString>> prompts_, saves_;
    std::vector<Call> calls_;
};

// Installs a scripted implementation for the lifetime of the object and puts the previous one back afterwards.
class ScopedScriptedDialogs {
public:
    ScopedScriptedDialogs() : previous_(kb::ui::installDialogs(std::unique_ptr<kb::ui::ModalDialogs>(scripted_))) {}
    ~ScopedScriptedDialogs() { kb::ui::installDialogs(std::move(previous_)); }
    Q_DISABLE_COPY(ScopedScriptedDialogs)

    ScriptedModalDialogs& operator*() const { return *scripted_; }
    ScriptedModalDialogs* operator->() const { return scripted_; }

private:
    ScriptedModalDialogs* scripted_ = new ScriptedModalDialogs;
    std::unique_ptr<kb::ui::ModalDialogs> previous_;
};

} // namespace kbtest
