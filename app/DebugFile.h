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

} // namespace kb::app
