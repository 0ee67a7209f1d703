#pragma once

#include <QString>

namespace kb::sql {

// A database is named by a file path or by a server connection: a
// postgresql:// (or postgres://) URI, or a key=value string whose first token
// is a word of letters and '_' followed by '='. True for a server connection.
bool isServerName(const QString& name);

} // namespace kb::sql
