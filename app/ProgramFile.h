#pragma once

#include <QString>

namespace kb::app {

// The full path of the running program file, as the system knows it (not as
// the command line spelled it).
QString programFilePath();
// The program file's name without its folder.
QString programFileName();

} // namespace kb::app
