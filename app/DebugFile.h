#pragma once

#include <QString>
#include <stdexcept>

namespace kb::app {

// A file that cannot be created or closed. The message (UTF-8) names the
// file and the reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The debug file that belongs to a program file: its path with the extension
// (everything from the last "." of the file name on) replaced by ".debug",
// or ".debug" appended when the name has no ".".
QString debugFileName(const QString& programPath);

// Creates the file empty, or empties it when it exists, and closes it at
// once; nothing is written. Throws FileError when it cannot be created or
// closed.
void CreateDebugFile(const QString& fileName);

// The folder for the debug file of a program whose own folder the user cannot
// write (installed for all users): $XDG_STATE_HOME/kultbuh, or
// ~/.local/state/kultbuh when that variable is unset, empty or not absolute.
QString stateDebugFolder();

// 0 when the user may create files in the folder, else the reason (an errno
// value: EACCES, EROFS, ENOENT...).
int folderAccessError(const QString& folder);

// Creates the program's debug file empty and returns its path: beside the
// program (debugFileName) when the program's folder is writable, and then a
// failure there is reported as it is; otherwise the file of the same name in
// stateFolder, made with its missing parents. When the state folder fails
// too, throws the FileError of the file beside the program, the place the
// file belongs, with the reason its folder cannot be written.
QString createDebugFileFor(const QString& programPath, const QString& stateFolder,
                           int (*accessError)(const QString& folder) = folderAccessError);

} // namespace kb::app
