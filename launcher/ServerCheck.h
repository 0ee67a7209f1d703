#pragma once

#include "ServerLogin.h"

namespace kb::launcher {

// Tries the login as the program will work: opens the database read-only and
// looks at its tables. The password goes to the server through a temporary
// password file readable by the user alone, never through the name. Returns
// what went wrong in the data layer's words, empty when all is well.
QString connectionProblem(const ServerLogin& login);

} // namespace kb::launcher
