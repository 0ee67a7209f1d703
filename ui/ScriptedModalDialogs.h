#pragma once

#include "ModalDialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace kb::ui {

// Answers every modal question from a script and logs what was asked, so a
// test asserts the questions and never waits on a real modal window. Each
// kind of question has its own queue of answers. A question with no answer
// queued is a failure: it is logged in failures(), reported as a warning,
// and answered the safe way (Cancel, no file, the dialog rejected) so the
// code under test goes on instead of blocking.
class ScriptedModalDialogs : public ModalDialogs {
public:
    enum class Kind { ExecDialog, InputPrompt, MessageBox, ErrorBox, Confirm, SaveFileName };

    struct Call {
        Kind kind;
        QString caption; // the window title for ExecDialog and SaveFileName
        QString text;    // prompt or box text; the class name of the dialog for ExecDialog
        QString initial; // the initial text of an input prompt
        SaveDialogSettings settings;
    };

    // Acts on the shown dialog (for example clicks one of its buttons) and
    // returns the result execDialog gives back.
    using DialogScript = std::function<int(QDialog&)>;

    ScriptedModalDialogs() = default;
    ~ScriptedModalDialogs() override;

    // The next execDialog shows the dialog (not modally), runs the script on
    // it and returns the script's value; the dialog is hidden afterwards.
    void scriptDialog(DialogScript script);
    // The same, returning the dialog's own result after the action.
    void scriptDialogAction(std::function<void(QDialog&)> action);
    // The next input prompt returns the answer as if typed and confirmed
    // with OK; nullopt answers Cancel, which returns the initial text.
    void scriptInput(std::optional<QString> answer);
    // The next plain box / error box is expected and acknowledged with OK.
    void expectMessageBox();
    void expectErrorBox();
    // The next confirmation is answered OK (true) or Cancel (false).
    void scriptConfirm(bool ok);
    // The next save dialog returns the path, or nullopt for Cancel.
    void scriptSaveFileName(std::optional<QString> path);

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> callsOf(Kind kind) const;
    // One line per question that had no answer queued.
    const QStringList& failures() const { return failures_; }
    // Answers queued but never asked for.
    int unusedAnswers() const;

    int execDialog(QDialog& dialog) override;
    QString inputPrompt(const QString& caption, const QString& prompt, const QString& initial) override;
    void messageBox(const QString& caption, const QString& text) override;
    void errorBox(const QString& caption, const QString& text) override;
    bool confirm(const QString& caption, const QString& text) override;
    std::optional<QString> saveFileName(QWidget* parent, const SaveDialogSettings& settings) override;

private:
    void fail(const Call& call);

    std::deque<DialogScript> dialogScripts_;
    std::deque<std::optional<QString>> inputAnswers_;
    int expectedMessageBoxes_ = 0;
    int expectedErrorBoxes_ = 0;
    std::deque<bool> confirmAnswers_;
    std::deque<std::optional<QString>> saveAnswers_;
    std::vector<Call> calls_;
    QStringList failures_;
};

QString kindName(ScriptedModalDialogs::Kind kind);

// Installs a scripted implementation for the lifetime of the object and puts
// the previous one back afterwards.
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
    std::unique_ptr<ModalDialogs> previous_;
};

} // namespace kb::ui
