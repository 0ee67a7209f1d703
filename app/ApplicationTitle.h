#pragma once

#include <QString>

namespace kb::app {

// The title for a program file: its name without the folder and without
// everything from the first "." on, every character after the first in
// lower case.
QString applicationTitleFor(const QString& programPath);

// The title of the running program; it captions the error box and the plain
// message box.
QString applicationTitle();

} // namespace kb::app
