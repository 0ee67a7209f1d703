#pragma once

#include "ModalDialogs.h"

#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kbtest {

// Answers the program's modal questions from a script and logs what was asked, so a test asserts the questions and
// never waits on a real modal window. A question with no answer queued (or an error box or message box not expected)
// fails the running test and is answered the safe way (Cancel, no file, the dialog rejected) so the code under test
// goes on.
class ScriptedModalDialogs : public kb::ui::ModalDialogs {
public:
    enum class Kind { ExecDialog, InputPrompt, MessageBox, ErrorBox, Confirm, SaveFileName };

    struct Call {
        Kind kind;
        QString caption; // the window title for ExecDialog
        QString text;    // the box or prompt text; the dialog's class name for ExecDialog, the filter for SaveFileName
    };

    // The next execDialog shows the dialog (not modally), runs the script on it and returns the script's value; the
    // dialog is hidden afterwards.
    void scriptDialog(std::function<int(QDialog&)> script);
    // The same, returning the dialog's own result after the action.
    void scriptDialogAction(std::function<void(QDialog&)> action);
    // The next error box is expected and acknowledged with OK.
    void expectErrorBox() { ++expectedErrorBoxes_; }
    // The next confirmation is expected and answered with OK (true) or Cancel (false).
    void answerConfirm(bool ok) { confirmAnswers_.push_back(ok); }
    // The next input prompt is answered with OK on the text, or with Cancel (nullopt).
    void answerInputPrompt(std::optional<QString> text) { promptAnswers_.push_back(std::move(text)); }
    // The next plain message box is expected and acknowledged with OK.
    void expectMessageBox() { ++expectedMessageBoxes_; }
    // The next save dialog is answered with the path, or cancelled (nullopt).
    void answerSaveFileName(std::optional<QString> path) { saveAnswers_.push_back(std::move(path)); }

    const std::vector<Call>& calls() const { return calls_; }

    int execDialog(QDialog& dialog) override;
    QString inputPrompt(const QString& caption, const QString& prompt, const QString& initial) override;
    void messageBox(const QString& caption, const QString& text) override;
    void errorBox(const QString& caption, const QString& text) override;
    bool confirm(const QString& caption, const QString& text) override;
    std::optional<QString> saveFileName(QWidget* parent, const kb::ui::SaveDialogSettings& settings) override;

private:
    // Logs the call; false (and a test failure) when it was not expected.
    bool record(const Call& call, bool expected);

    std::deque<std::function<int(QDialog&)>> dialogScripts_;
    int expectedErrorBoxes_ = 0;
    std::deque<bool> confirmAnswers_;
    std::deque<std::optional<QString>> promptAnswers_;
    int expectedMessageBoxes_ = 0;
    std::deque<std::optional<QString>> saveAnswers_;
    std::vector<Call> calls_;
};

// Installs a scripted implementation for the lifetime of the object and puts the previous one back afterwards.
class ScopedScriptedDialogs {
public:
    ScopedScriptedDialogs();
    ~ScopedScriptedDialogs();
    ScopedScriptedDialogs(const ScopedScriptedDialogs&) = delete;
    ScopedScriptedDialogs& operator=(const ScopedScriptedDialogs&) = delete;

    ScriptedModalDialogs& operator*() const { return *scripted_; }
    ScriptedModalDialogs* operator->() const { return scripted_; }

private:
    ScriptedModalDialogs* scripted_;
    std::unique_ptr<kb::ui::ModalDialogs> previous_;
};

} // namespace kbtest
