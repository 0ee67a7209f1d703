#include "KeyContinuation.h"

namespace kb::dataset::schema {

void continueKeys(sql::Connection&) {
    // SQLite numbers a new row above the greatest ID it has ever held by itself
    // (AUTOINCREMENT keeps that number in sqlite_sequence, given IDs included).
}

} // namespace kb::dataset::schema
