#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// Opening a Windows-1251 text file in the desktop's plain-text editor.
namespace kb::reports {

// A program and its arguments.
struct ProgramCall {
    QString program;
    QStringList arguments;
};

// The call that opens the file in the editor of the desktop entry (as
// "xdg-mime query default text/plain" names it, e.g. "org.gnome.gedit.desktop")
// with the file read as Windows-1251. Editors that take an encoding on their
// command line are started themselves, the path after "--"; any other entry,
// the empty one too, gives "xdg-open" on the path, which a leading "./" keeps
// from being read as an option.
ProgramCall textEditorCall(const QString& desktopEntry, const QString& path);

// Starts the editor on a file, detached: the caller neither waits for it nor
// learns whether it started.
class TextEditorLauncher {
public:
    virtual ~TextEditorLauncher() = default;
    virtual void open(const QString& path) = 0;
};

// The launcher in use: the desktop's one unless another was installed.
TextEditorLauncher& textEditorLauncher();
// Installs a launcher (tests install one that records) and returns the
// previous one; nullptr restores the desktop's.
std::unique_ptr<TextEditorLauncher> installTextEditorLauncher(std::unique_ptr<TextEditorLauncher> replacement);

} // namespace kb::reports
