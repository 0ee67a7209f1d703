#include "TextEditor.h"

#include <QProcess>

namespace kb::reports {

namespace {

struct KnownEditor {
    const char* name;     // the desktop entry's last part, in lower case
    const char* encoding; // the option that makes it read Windows-1251
};

// The Debian editors that take an encoding on their command line.
constexpr KnownEditor kKnownEditors[] = {
    {"gedit", "--encoding=WINDOWS-1251"},
    {"pluma", "--encoding=WINDOWS-1251"},
    {"mousepad", "--encoding=WINDOWS-1251"},
    {"kate", "--encoding=windows-1251"},
    {"kwrite", "--encoding=windows-1251"},
    {"l3afpad", "--codeset=CP1251"},
    // Vim's graphical window re-reads the file in the code page once it is open.
    {"gvim", "+e ++enc=cp1251"},
};

// "org.gnome.gedit.desktop" -> "gedit".
QString editorName(QString desktopEntry) {
    desktopEntry = desktopEntry.trimmed();
    if (desktopEntry.endsWith(QLatin1String(".desktop")))
        desktopEntry.chop(8);
    return desktopEntry.mid(desktopEntry.lastIndexOf(u'.') + 1).toLower();
}

QString defaultTextEditorEntry() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

class DesktopTextEditor : public TextEditorLauncher {
public:
    void open(const QString& path) override {
        const ProgramCall call = textEditorCall(defaultTextEditorEntry(), path);
        QProcess::startDetached(call.program, call.arguments);
    }
};

std::unique_ptr<TextEditorLauncher>& current() {
    static std::unique_ptr<TextEditorLauncher> launcher = std::make_unique<DesktopTextEditor>();
    return launcher;
}

} // namespace

ProgramCall textEditorCall(const QString& desktopEntry, const QString& path) {
    const QString name = editorName(desktopEntry);
    for (const KnownEditor& editor : kKnownEditors) {
        if (name == QLatin1String(editor.name))
            return {name, {QString::fromLatin1(editor.encoding), QStringLiteral("--"), path}};
    }
    return {QStringLiteral("xdg-open"), {path.startsWith(u'-') ? QStringLiteral("./") + path : path}};
}

TextEditorLauncher& textEditorLauncher() {
    return *current();
}

std::unique_ptr<TextEditorLauncher> installTextEditorLauncher(std::unique_ptr<TextEditorLauncher> replacement) {
    std::unique_ptr<TextEditorLauncher> previous = std::move(current());
    current() = replacement ? std::move(replacement) : std::make_unique<DesktopTextEditor>();
    return previous;
}

} // namespace kb::reports
