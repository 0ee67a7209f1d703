// The dialect as a loadable SQLite extension: ".load libkultbuh_sqlite" in the
// sqlite3 shell, or "Load Extension" in DB Browser for SQLite, registers on
// that connection the functions and the collation that dialect::install
// registers in the program, so BAZA.mdb can be read and sorted there as the
// program reads and sorts it.

#include "DialectRegistration.h"

#include <exception>

SQLITE_EXTENSION_INIT1

namespace {

int initialise(sqlite3* db, char** errorMessage, const sqlite3_api_routines* api) noexcept {
    SQLITE_EXTENSION_INIT2(api);
    try {
        kb::dialect::registerDialect(db);
        return SQLITE_OK;
    } catch (const std::exception& e) {
        if (errorMessage != nullptr)
            *errorMessage = sqlite3_mprintf("%s", e.what());
        return SQLITE_ERROR;
    }
}

} // namespace

#define KB_EXTENSION_ENTRY extern "C" __attribute__((visibility("default"))) int

// The entry point SQLite looks for in a file named libkultbuh_sqlite.so.
KB_EXTENSION_ENTRY sqlite3_kultbuhsqlite_init(sqlite3* db, char** errorMessage, const sqlite3_api_routines* api) {
    return initialise(db, errorMessage, api);
}

// The generic entry point, for a copy of the file under another name.
KB_EXTENSION_ENTRY sqlite3_extension_init(sqlite3* db, char** errorMessage, const sqlite3_api_routines* api) {
    return initialise(db, errorMessage, api);
}
