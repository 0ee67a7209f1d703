#include "Dialect.h"

#include "DbError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <sqlite3.h>
#include <string>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/utf8.h>
#include <vector>

namespace kb::dialect {
namespace {

constexpr int kFunctionFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;

// ---------------------------------------------------------------------------
// Error messages

// A value as an error message quotes it: at most 80 bytes, cut at a character
// boundary, with "..." when cut.
std::string quoted(const unsigned char* text, int bytes) {
    constexpr int kMax = 80;
    if (!text)
        return "''";
    int n = bytes;
    bool cut = false;
    if (n > kMax) {
        n = kMax;
        while (n > 0 && (text[n] & 0xC0) == 0x80)
            --n;
        cut = true;
    }
    std::string s = "'";
    s.append(reinterpret_cast<const char*>(text), size_t(n));
    if (cut)
        s += "...";
    s += "'";
    return s;
}

std::string quotedValue(sqlite3_value* v) {
    const unsigned char* text = sqlite3_value_text(v);
    return quoted(text, sqlite3_value_bytes(v));
}

void fail(sqlite3_context* ctx, const std::string& message) {
    sqlite3_result_error(ctx, message.c_str(), int(message.size()));
}

// ---------------------------------------------------------------------------
// Month() and Year()

struct YearMonth {
    int year = 0;
    int month = 0;
};

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Reads count digits at s[pos]; -1 when the text is too short or one is no digit.
int readDigits(const unsigned char* s, int n, int pos, int count) {
    if (pos + count > n)
        return -1;
    int value = 0;
    for (int i = pos; i < pos + count; ++i) {
        if (!isDigit(s[i]))
            return -1;
        value = value * 10 + (s[i] - '0');
    }
    return value;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The stored form "YYYY-MM-DD", optionally followed by a blank or 'T' and
// "HH:MM", ":SS" and a fraction of a second. Read straight from the bytes.
bool parseIsoDate(const unsigned char* s, int n, YearMonth& out) {
    const int year = readDigits(s, n, 0, 4);
    const int month = readDigits(s, n, 5, 2);
    const int day = readDigits(s, n, 8, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || s[4] != '-' || s[7] != '-' || day > daysInMonth(year, month))
        return false;
    if (n > 10) {
        if (n < 16 || (s[10] != ' ' && s[10] != 'T') || s[13] != ':')
            return false;
        const int hour = readDigits(s, n, 11, 2);
        const int minute = readDigits(s, n, 14, 2);
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
            return false;
        if (n > 16) {
            const int second = s[16] == ':' ? readDigits(s, n, 17, 2) : -1;
            if (second < 0 || second > 59)
                return false;
            if (n > 19) {
                if (s[19] != '.' || n == 20)
                    return false;
                for (int i = 20; i < n; ++i)
                    if (!isDigit(s[i]))
                        return false;
            }
        }
    }
    out = {year, month};
    return true;
}

// A day number: whole days since 30 December 1899, the fraction the time of
// day (which counts forward from midnight also before the day zero, so the
// whole part is the day). Years 100 to 9999, as the desktop platforms allow.
bool dayNumberDate(double days, YearMonth& out) {
    if (!std::isfinite(days) || days < -657434.0 || days >= 2958466.0)
        return false;
    // Days since 1 March of the year 0 of the proleptic Gregorian calendar.
    long long z = (long long)std::trunc(days) - 25569 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    out = {int(yoe + era * 400 + (month <= 2 ? 1 : 0)), month};
    return true;
}

enum class DatePart { Month, Year };

template <DatePart part> void datePartFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    YearMonth ym;
    bool ok = false;
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        ok = dayNumberDate(sqlite3_value_double(v), ym);
        break;
    case SQLITE_TEXT:
        ok = parseIsoDate(sqlite3_value_text(v), sqlite3_value_bytes(v), ym);
        break;
    default: // a BLOB is never a date
        break;
    }
    if (!ok) {
        const char* name = part == DatePart::Month ? "Month" : "Year";
        fail(ctx, std::string("Функция ") + name + ": значение " + quotedValue(v) + " не является датой");
        return;
    }
    sqlite3_result_int(ctx, part == DatePart::Month ? ym.month : ym.year);
}

// ---------------------------------------------------------------------------
// Strict conversion of text to a number

struct Number {
    enum class Kind { Invalid, Integer, Real } kind = Kind::Invalid;
    sqlite3_int64 integer = 0;
    double real = 0;
};

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Blanks, an optional sign, digits, optionally "." or "," and more digits,
// blanks. A number without a decimal part that fits 64 bits is an integer.
Number parseNumber(const unsigned char* s, int n) {
    int i = 0;
    while (i < n && isBlank(s[i]))
        ++i;
    while (n > i && isBlank(s[n - 1]))
        --n;
    const int start = i;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    const int intBegin = i;
    while (i < n && isDigit(s[i]))
        ++i;
    if (i == intBegin)
        return {};
    const int intEnd = i;
    int fracBegin = -1;
    if (i < n && (s[i] == '.' || s[i] == ',')) {
        fracBegin = ++i;
        while (i < n && isDigit(s[i]))
            ++i;
        if (i == fracBegin)
            return {};
    }
    if (i != n)
        return {};

    // The text with "." as the decimal point, for std::from_chars (which,
    // unlike strtod, does not depend on the process locale). A leading '+'
    // is dropped: from_chars does not take it. Usually on the stack.
    char small[64];
    std::string large;
    const size_t needed = size_t(n - start) + 1;
    char* buffer = needed <= sizeof small ? small : (large.resize(needed), large.data());
    size_t length = 0;
    auto append = [&](const unsigned char* from, int count) {
        std::memcpy(buffer + length, from, size_t(count));
        length += size_t(count);
    };
    if (s[start] == '-')
        buffer[length++] = '-';
    append(s + intBegin, intEnd - intBegin);
    if (fracBegin >= 0) {
        buffer[length++] = '.';
        append(s + fracBegin, n - fracBegin);
    }
    const char* first = buffer;
    const char* last = buffer + length;
    Number result;
    if (fracBegin < 0) {
        const auto [ptr, ec] = std::from_chars(first, last, result.integer);
        if (ec == std::errc() && ptr == last) {
            result.kind = Number::Kind::Integer;
            return result;
        }
    }
    const auto [ptr, ec] = std::from_chars(first, last, result.real);
    if (ec != std::errc() || ptr != last)
        return {}; // beyond the range of a double
    result.kind = Number::Kind::Real;
    return result;
}

void resultNumber(sqlite3_context* ctx, const Number& number) {
    if (number.kind == Number::Kind::Integer)
        sqlite3_result_int64(ctx, number.integer);
    else
        sqlite3_result_double(ctx, number.real);
}

// kb_number(value, 'Table.Column'): numbers and NULL pass, text converts
// strictly, anything else fails the statement naming the column.
void numberFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT || type == SQLITE_NULL) {
        sqlite3_result_value(ctx, v);
        return;
    }
    if (type == SQLITE_TEXT) {
        const Number number = parseNumber(sqlite3_value_text(v), sqlite3_value_bytes(v));
        if (number.kind != Number::Kind::Invalid) {
            resultNumber(ctx, number);
            return;
        }
    }
    std::string where;
    if (argc > 1 && sqlite3_value_type(argv[1]) == SQLITE_TEXT)
        where = std::string(" в поле ") + reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (type == SQLITE_TEXT)
        fail(ctx, "Значение " + quotedValue(v) + where + " не является числом");
    else
        fail(ctx, "Двоичное значение" + where + " не является числом");
}

// ---------------------------------------------------------------------------
// ROUND(x)

// To a whole number; an exact half goes to the even neighbour.
double roundHalfEven(double x) {
    double r = std::round(x); // halves away from zero
    if (std::fabs(r - x) == 0.5)
        r = 2.0 * std::round(x / 2.0);
    return r == 0 ? 0.0 : r; // no negative zero
}

void roundFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_double(ctx, double(sqlite3_value_int64(v)));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, roundHalfEven(sqlite3_value_double(v)));
        return;
    case SQLITE_TEXT: {
        const Number number = parseNumber(sqlite3_value_text(v), sqlite3_value_bytes(v));
        if (number.kind == Number::Kind::Integer)
            sqlite3_result_double(ctx, double(number.integer));
        else if (number.kind == Number::Kind::Real)
            sqlite3_result_double(ctx, roundHalfEven(number.real));
        else
            fail(ctx, "Функция ROUND: значение " + quotedValue(v) + " не является числом");
        return;
    }
    default:
        fail(ctx, "Функция ROUND: двоичное значение не является числом");
        return;
    }
}

// ---------------------------------------------------------------------------
// LIKE

inline UChar32 foldCase(UChar32 c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

// A LIKE pattern read once per statement (SQLite keeps it with the
// statement while the pattern argument stays the same): literal characters
// case-folded, '%' runs collapsed, the escape character applied.
struct LikePattern {
    struct Element {
        enum class Kind : uint8_t { Literal, AnyRun, One } kind;
        UChar32 c;
    };
    std::vector<Element> elements;
    UChar32 escape = -1;
    bool matchesNothing = false; // ends in an escape character with nothing after it

    LikePattern(const uint8_t* p, int32_t n, UChar32 esc) : escape(esc) {
        elements.reserve(size_t(n));
        int32_t i = 0;
        while (i < n) {
            UChar32 c;
            U8_NEXT_OR_FFFD(p, i, n, c);
            if (c == esc) {
                if (i >= n) {
                    matchesNothing = true;
                    return;
                }
                U8_NEXT_OR_FFFD(p, i, n, c);
                elements.push_back({Element::Kind::Literal, foldCase(c)});
            } else if (c == '%') {
                if (elements.empty() || elements.back().kind != Element::Kind::AnyRun)
                    elements.push_back({Element::Kind::AnyRun, 0});
            } else if (c == '_') {
                elements.push_back({Element::Kind::One, 0});
            } else {
                elements.push_back({Element::Kind::Literal, foldCase(c)});
            }
        }
    }

    // Against UTF-8 text t. Iterative: on a mismatch the match resumes after
    // the last '%', which takes one more text character; that is enough, as a
    // later '%' can absorb anything an earlier one could.
    bool matches(const uint8_t* t, int32_t tn) const {
        if (matchesNothing)
            return false;
        const size_t pn = elements.size();
        size_t pi = 0;
        int32_t ti = 0;
        size_t starP = SIZE_MAX; // pattern position after the last '%'
        int32_t starT = 0;       // where the text resumes when that '%' takes one more character
        while (true) {
            if (pi < pn) {
                const Element& e = elements[pi];
                if (e.kind == Element::Kind::AnyRun) {
                    if (pi + 1 == pn)
                        return true;
                    starP = ++pi;
                    starT = ti;
                    continue;
                }
                if (ti < tn) {
                    int32_t next = ti;
                    UChar32 tc;
                    U8_NEXT_OR_FFFD(t, next, tn, tc);
                    if (e.kind == Element::Kind::One || foldCase(tc) == e.c) {
                        ti = next;
                        ++pi;
                        continue;
                    }
                }
            } else if (ti >= tn) {
                return true;
            }
            if (starP == SIZE_MAX || starT >= tn)
                return false;
            U8_FWD_1(t, starT, tn);
            ti = starT;
            pi = starP;
        }
    }
};

void deleteLikePattern(void* p) {
    delete static_cast<LikePattern*>(p);
}

// like(pattern, text [, escape]), as SQLite calls it for "text LIKE pattern":
// '%' any run of characters (the empty one too), '_' exactly one character,
// letters compared by simple case folding.
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    UChar32 esc = -1;
    if (argc == 3) {
        const auto* e = reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[2]));
        const int32_t eBytes = sqlite3_value_bytes(argv[2]);
        int32_t i = 0;
        if (e && eBytes > 0)
            U8_NEXT_OR_FFFD(e, i, eBytes, esc);
        if (eBytes == 0 || i != eBytes) {
            fail(ctx, "ESCAPE в LIKE должен быть ровно одним символом");
            return;
        }
    }
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern || pattern->escape != esc) {
        const auto* p = reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[0]));
        const int32_t pn = sqlite3_value_bytes(argv[0]);
        if (!p) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
        if (pn > sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1)) {
            fail(ctx, "Слишком длинный образец LIKE");
            return;
        }
        pattern = new LikePattern(p, pn, esc);
        // SQLite owns it from here on (and deletes it at once when it cannot keep it).
        sqlite3_set_auxdata(ctx, 0, pattern, deleteLikePattern);
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            // Not kept (a pattern that changes from row to row): match with a fresh copy.
            const LikePattern once(p, pn, esc);
            sqlite3_result_int(ctx, once.matches(reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[1])),
                                                 sqlite3_value_bytes(argv[1]))
                                        ? 1
                                        : 0);
            return;
        }
    }
    const auto* text = reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[1]));
    if (!text) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    sqlite3_result_int(ctx, pattern->matches(text, sqlite3_value_bytes(argv[1])) ? 1 : 0);
}

// ---------------------------------------------------------------------------
// The Russian collation

int collate(void* collator, int n1, const void* s1, int n2, const void* s2) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(static_cast<UCollator*>(collator), static_cast<const char*>(s1), n1,
                                                static_cast<const char*>(s2), n2, &status);
    if (U_SUCCESS(status))
        return int(r);
    const int c = std::memcmp(s1, s2, size_t(std::min(n1, n2)));
    return c != 0 ? c : n1 - n2;
}

void closeCollator(void* collator) {
    ucol_close(static_cast<UCollator*>(collator));
}

// ---------------------------------------------------------------------------

[[noreturn]] void registrationFailed(sqlite3* db, const char* what) {
    throw DbError(std::string("Не удалось зарегистрировать ") + what + ": " + sqlite3_errmsg(db), sqlite3_errcode(db));
}

void addFunction(sqlite3* db, const char* name, int nArg, void (*fn)(sqlite3_context*, int, sqlite3_value**)) {
    if (sqlite3_create_function_v2(db, name, nArg, kFunctionFlags, nullptr, fn, nullptr, nullptr, nullptr) != SQLITE_OK)
        registrationFailed(db, (std::string("функцию ") + name).c_str());
}

} // namespace

void install(sqlite3* db) {
    addFunction(db, "Month", 1, datePartFunction<DatePart::Month>);
    addFunction(db, "Year", 1, datePartFunction<DatePart::Year>);
    addFunction(db, "round", 1, roundFunction);
    addFunction(db, "like", 2, likeFunction);
    addFunction(db, "like", 3, likeFunction);
    addFunction(db, kNumberFunction, 1, numberFunction);
    addFunction(db, kNumberFunction, 2, numberFunction);

    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("ru", &status);
    if (U_FAILURE(status)) {
        ucol_close(collator);
        throw DbError(std::string("Не удалось открыть русскую сортировку ICU: ") + u_errorName(status));
    }
    ucol_setStrength(collator, UCOL_SECONDARY);
    // SQLite does not call the destructor when the registration fails.
    if (sqlite3_create_collation_v2(db, kCollation, SQLITE_UTF8, collator, collate, closeCollator) != SQLITE_OK) {
        ucol_close(collator);
        registrationFailed(db, (std::string("сортировку ") + kCollation).c_str());
    }
}

} // namespace kb::dialect
