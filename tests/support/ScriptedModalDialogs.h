#pragma once

#include "ModalDialogs.h"

#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
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
    void scriptDialogAction(std::function<void(QDialog&)> action);
    // The next error box or plain message box is expected and acknowledged with OK.
    void expectErrorBox() { ++errorBoxes_; }
    void expectMessageBox() { ++messageBoxes_; }
    // The next confirmation is answered with OK (true) or Cancel (false).
    void answerConfirm(bool ok) { confirms_.push_back(ok); }
    // The next input prompt is answered with OK on the text, or with Cancel (nullopt).
    void answerInputPrompt(std::optional<QString> text) { prompts_.push_back(std::move(text)); }
    // The next save dialog is answered with the path, or cancelled (nullopt).
    void answerSaveFileName(std::optional<QString> path) { saves_.push_back(std::move(path)); }

    const std::vector<Call>& calls() const { return calls_; }

    int execDialog(QDialog& dialog) override;
    QString inputPrompt(const QString& caption, const QString& prompt, const QString& initial) override;
    void messageBox(const QString& caption, const QString& text) override;
    void errorBox(const QString& caption, const QString& text) override;
    bool confirm(const QString& caption, const QString& text) override;
    std::optional<QString> saveFileName(QWidget* parent, const kb::ui::SaveDialogSettings& settings) override;

private:
    // Logs the call; false (and a test failure) when it was not expected.
    bool record(Kind kind, const QString& caption, const QString& text, bool expected);

    std::deque<std::function<int(QDialog&)>> scripts_;
    int errorBoxes_ = 0, messageBoxes_ = 0;
    std::deque<bool> confirms_;
    std::deque<std::optional<QString>> prompts_, saves_;
    std::vector<Call> calls_;
};

// Installs a scripted implementation for the lifetime of the object and puts the previous one back afterwards.
class ScopedScriptedDialogs {
public:
    ScopedScriptedDialogs();
    ~ScopedScriptedDialogs() { kb::ui::installDialogs(std::move(previous_)); }
    ScopedScriptedDialogs(const ScopedScriptedDialogs&) = delete;
    ScopedScriptedDialogs& operator=(const ScopedScriptedDialogs&) = delete;

    ScriptedModalDialogs& operator*() const { return *scripted_; }
    ScriptedModalDialogs* operator->() const { return scripted_; }

private:
    ScriptedModalDialogs* scripted_;
    std::unique_ptr<kb::ui::ModalDialogs> previous_;
};

} // namespace kbtest
