#pragma once

#include "ModalDialogs.h"

#include <memory>

class QFileDialog;
class QMessageBox;

namespace kb::ui {

// The dialogs as the user sees them: Qt's message boxes and file dialog and a
// small entry dialog, each shown modally. The make* functions build the
// windows without showing them, so their look can be checked.
class QtModalDialogs : public ModalDialogs {
public:
    int execDialog(QDialog& dialog) override;
    QString inputPrompt(const QString& caption, const QString& prompt, const QString& initial) override;
    void messageBox(const QString& caption, const QString& text) override;
    void errorBox(const QString& caption, const QString& text) override;
    bool confirm(const QString& caption, const QString& text) override;
    std::optional<QString> saveFileName(QWidget* parent, const SaveDialogSettings& settings) override;
};

// The entry dialog: a prompt over a single-line edit of at most 255
// characters holding the initial text, OK and Cancel, centred on the screen.
// The edit has the object name "InputEdit".
std::unique_ptr<QDialog> makeInputPrompt(const QString& caption, const QString& prompt, const QString& initial);
// A plain box: no icon, one OK button.
std::unique_ptr<QMessageBox> makeMessageBox(const QString& caption, const QString& text);
// A box with a stop icon and one OK button.
std::unique_ptr<QMessageBox> makeErrorBox(const QString& caption, const QString& text);
// A question with a question icon and the buttons "OK" (the default) and
// "Cancel" (also Escape), worded so whatever translation is installed.
std::unique_ptr<QMessageBox> makeConfirmBox(const QString& caption, const QString& text);
// A file-save dialog with the given settings (Qt's own dialog, the same on every desktop).
std::unique_ptr<QFileDialog> makeSaveDialog(QWidget* parent, const SaveDialogSettings& settings);

} // namespace kb::ui
