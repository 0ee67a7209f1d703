#pragma once

#include <QString>

class QApplication;

namespace kb::app {

// The program's start and end, step by step.

// Step 1: the debug file of the running program, created empty (or emptied)
// beside it, or in the user's state folder when the program's folder cannot
// be written (see createDebugFileFor). Returns its name; throws FileError
// when it cannot be created or closed.
QString createProgramDebugFile();

// With the application object in place: creates the main window, whose
// creation handler shows the splash screen; then the data module on the
// chosen database (see chosenDatabase), the first moment it is touched;
// shows the main window and runs the event loop until it closes; at the end
// destroys the data module, then the main window. Returns the event loop's exit code and throws whatever creating
// the main window or the data module throws.
int runMainWindow(QApplication& application);

// runMainWindow with the last-chance report for a failure before the event
// loop: the report is shown and the result is the exit code 1.
int startApplication(QApplication& application) noexcept;

// The whole program: the debug file, the application object and its look,
// then startApplication. The command line is not read.
int runProgram(char* programArgument);

} // namespace kb::app
