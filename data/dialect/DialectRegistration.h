#pragma once

#include "SqliteApi.h"

#include <stdexcept>
#include <unicode/ucol.h>

// The registration of the dialect's functions and collation on a bare SQLite
// handle, shared by the program (dialect::install) and the loadable extension.
// Needs neither Qt nor the program's connection class.
namespace kb::dialect {

// A function or the collation that could not be registered. code() is
// SQLite's error code, or 0 when ICU failed.
class RegistrationError : public std::runtime_error {
public:
    RegistrationError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// A collator with the collation's rules: Russian, letter case ignored.
// Throws RegistrationError.
UCollator* openCollator();
// The collation's comparison of two UTF-8 texts through such a collator.
int collate(void* collator, int n1, const void* s1, int n2, const void* s2);

// Registers Month, Year, round, like, kb_number, kb_month_start, kb_month_end
// and the collation RU (see Dialect.h). Throws RegistrationError.
void registerDialect(sqlite3* db);

} // namespace kb::dialect
