// Month(), Year(), ROUND() and the strict conversion kb_number() of the dialect.

#include "DateTimeParts.h"
#include "DialectFunctions.h"
#include "NumberText.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace kb::dialect::functions {
namespace {

// A value as an error message quotes it: at most 80 bytes, cut at a character
// boundary, with "..." when cut; control characters as \xHH.
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
    // The engine hands an error message on as a C string: a character 0 would end it, so control characters are
    // written as \xHH.
    std::string s = "'";
    for (int i = 0; i < n; ++i) {
        if (text[i] < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            s += "\\x";
            s += kHex[text[i] >> 4];
            s += kHex[text[i] & 0xf];
        } else {
            s += char(text[i]);
        }
    }
    if (cut)
        s += "...";
    s += "'";
    return s;
}

std::string quotedValue(sqlite3_value* v) {
    const unsigned char* text = sqlite3_value_text(v);
    return quoted(text, sqlite3_value_bytes(v));
}

std::string_view textOf(sqlite3_value* v) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return text ? std::string_view(text, size_t(sqlite3_value_bytes(v))) : std::string_view();
}

} // namespace

bool readDate(sqlite3_context* ctx, sqlite3_value* v, const char* name, std::optional<sql::datetime::Parts>& date) {
    date.reset();
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return true;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        date = sql::datetime::dayNumberParts(sqlite3_value_double(v));
        break;
    case SQLITE_TEXT: {
        const std::string_view text = textOf(v);
        date = sql::datetime::isoParts(text.data(), int(text.size()));
        break;
    }
    default: // a BLOB is never a date
        break;
    }
    if (!date)
        fail(ctx, std::string("Функция ") + name + ": значение " + quotedValue(v) + " не является датой");
    return date.has_value();
}

namespace {

// ---------------------------------------------------------------------------
// Month() and Year(): the stored ISO text or a day number

template <int sql::datetime::Parts::*part> void datePart(sqlite3_context* ctx, sqlite3_value** argv, const char* name) {
    std::optional<sql::datetime::Parts> date;
    if (readDate(ctx, argv[0], name, date)) {
        if (date)
            sqlite3_result_int(ctx, (*date).*part);
        else
            sqlite3_result_null(ctx);
    }
}

// ---------------------------------------------------------------------------
// Strict conversion of text to a number

// An INTEGER when the text has no decimal part and fits 64 bits, else a REAL;
// false when the text is no number.
bool resultNumber(sqlite3_context* ctx, sqlite3_value* v) {
    const sql::number::Scanned scanned = sql::number::scan(textOf(v), sql::number::kStrict);
    if (const auto integer = scanned.integer()) {
        sqlite3_result_int64(ctx, *integer);
        return true;
    }
    if (const auto real = scanned.real()) {
        sqlite3_result_double(ctx, *real);
        return true;
    }
    return false;
}

// To a whole number; an exact half goes to the even neighbour.
double roundHalfEven(double x) {
    double r = std::round(x); // halves away from zero
    if (std::fabs(r - x) == 0.5)
        r = 2.0 * std::round(x / 2.0);
    return r == 0 ? 0.0 : r; // no negative zero
}

} // namespace

void month(sqlite3_context* ctx, int, sqlite3_value** argv) {
    datePart<&sql::datetime::Parts::month>(ctx, argv, "Month");
}

void year(sqlite3_context* ctx, int, sqlite3_value** argv) {
    datePart<&sql::datetime::Parts::year>(ctx, argv, "Year");
}

// kb_number(value, 'Table.Column'): numbers and NULL pass, text converts
// strictly, anything else fails the statement naming the column.
void number(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT || type == SQLITE_NULL) {
        sqlite3_result_value(ctx, v);
        return;
    }
    if (type == SQLITE_TEXT && resultNumber(ctx, v))
        return;
    std::string where;
    if (argc > 1 && sqlite3_value_type(argv[1]) == SQLITE_TEXT)
        where = std::string(" в поле ") + reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (type == SQLITE_TEXT)
        fail(ctx, "Значение " + quotedValue(v) + where + " не является числом");
    else
        fail(ctx, "Двоичное значение" + where + " не является числом");
}

void round(sqlite3_context* ctx, int, sqlite3_value** argv) {
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
        const sql::number::Scanned scanned = sql::number::scan(textOf(v), sql::number::kStrict);
        if (const auto integer = scanned.integer())
            sqlite3_result_double(ctx, double(*integer));
        else if (const auto real = scanned.real())
            sqlite3_result_double(ctx, roundHalfEven(*real));
        else
            fail(ctx, "Функция ROUND: значение " + quotedValue(v) + " не является числом");
        return;
    }
    default:
        fail(ctx, "Функция ROUND: двоичное значение не является числом");
        return;
    }
}

} // namespace kb::dialect::functions
