#pragma once

#include <QString>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace kb::ui {

// Settings of a file-save dialog.
struct SaveDialogSettings {
    QString defaultSuffix; // "txt" for "*.txt"
    QString filter;        // Qt filter text, e.g. "*.txt (*.txt)"
    QString title;         // empty: the toolkit's own
    QString directory;     // empty: the current one
};

// Every modal question the program asks goes through this one interface, so
// tests can script the answers and never wait on a real modal window.
class ModalDialogs {
public:
    virtual ~ModalDialogs() = default;

    // Shows a window of the program's own modally (the splash, the record
    // editors) and returns its result code.
    virtual int execDialog(QDialog& dialog) = 0;
    // A single-line entry of at most 255 characters with OK and Cancel,
    // centred on the screen; the entry on OK, the initial text otherwise.
    virtual QString inputPrompt(const QString& caption, const QString& prompt, const QString& initial) = 0;
    // A plain box: the caption, the text, one OK button, no icon.
    virtual void messageBox(const QString& caption, const QString& text) = 0;
    // A box with a stop icon and one OK button.
    virtual void errorBox(const QString& caption, const QString& text) = 0;
    // OK / Cancel question with a question icon; true unless the answer is Cancel.
    virtual bool confirm(const QString& caption, const QString& text) = 0;
    // The chosen path, or nullopt when the user cancels.
    virtual std::optional<QString> saveFileName(QWidget* parent, const SaveDialogSettings& settings) = 0;
};

// The implementation in use: the Qt one unless another was installed.
ModalDialogs& dialogs();
// Installs an implementation (tests install a scripted one) and returns the
// previous one; passing nullptr restores the Qt implementation.
std::unique_ptr<ModalDialogs> installDialogs(std::unique_ptr<ModalDialogs> replacement);

} // namespace kb::ui
