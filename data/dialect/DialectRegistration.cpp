#include "DialectRegistration.h"

#include "DialectFunctions.h"
#include "DialectNames.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unicode/ucol.h>

namespace kb::dialect {

int collate(void* collator, int n1, const void* s1, int n2, const void* s2) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(static_cast<UCollator*>(collator), static_cast<const char*>(s1), n1,
                                                static_cast<const char*>(s2), n2, &status);
    if (U_SUCCESS(status))
        return int(r);
    const int c = std::memcmp(s1, s2, size_t(std::min(n1, n2)));
    return c != 0 ? c : n1 - n2;
}

UCollator* openCollator() {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("ru", &status);
    if (U_FAILURE(status)) {
        ucol_close(collator);
        throw RegistrationError(std::string("Не удалось открыть русскую сортировку ICU: ") + u_errorName(status), 0);
    }
    ucol_setStrength(collator, UCOL_SECONDARY);
    return collator;
}

namespace {

constexpr int kFunctionFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;

void closeCollator(void* collator) {
    ucol_close(static_cast<UCollator*>(collator));
}

[[noreturn]] void registrationFailed(sqlite3* db, const std::string& what) {
    throw RegistrationError("Не удалось зарегистрировать " + what + ": " + sqlite3_errmsg(db), sqlite3_errcode(db));
}

void addFunction(sqlite3* db, const char* name, int nArg, void (*fn)(sqlite3_context*, int, sqlite3_value**)) {
    if (sqlite3_create_function_v2(db, name, nArg, kFunctionFlags, nullptr, fn, nullptr, nullptr, nullptr) != SQLITE_OK)
        registrationFailed(db, std::string("функцию ") + name);
}

} // namespace

void registerDialect(sqlite3* db) {
    addFunction(db, "Month", 1, functions::month);
    addFunction(db, "Year", 1, functions::year);
    addFunction(db, "round", 1, functions::round);
    addFunction(db, "like", 2, functions::like);
    addFunction(db, "like", 3, functions::like);
    addFunction(db, kNumberFunction, 1, functions::number);
    addFunction(db, kNumberFunction, 2, functions::number);
    addFunction(db, kMonthStartFunction, 2, functions::monthStart);
    addFunction(db, kMonthEndFunction, 2, functions::monthEnd);

    UCollator* collator = openCollator();
    // SQLite does not call the destructor when the registration fails.
    if (sqlite3_create_collation_v2(db, kCollation, SQLITE_UTF8, collator, collate, closeCollator) != SQLITE_OK) {
        ucol_close(collator);
        registrationFailed(db, std::string("сортировку ") + kCollation);
    }
}

} // namespace kb::dialect
