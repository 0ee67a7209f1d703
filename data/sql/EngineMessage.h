#pragma once

#include <QString>
#include <sqlite3.h>

namespace kb::sql {

// The engine's message for the last failure on a connection; empty without one.
inline QString engineMessage(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
}

} // namespace kb::sql
