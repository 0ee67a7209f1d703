// kb_month_start(a, b) and kb_month_end(a, b): the bounds of the month that
// "Month(x) = Month(a) and Year(x) = Year(b)" selects, as the range condition
// "x >= kb_month_start(a, b) and x < kb_month_end(a, b)" compares them (see
// MonthRangeRewrite.h).
//
// A date-time is stored as ISO text, "YYYY-MM-DD HH:MM:SS" or a shorter or
// longer form of it, always beginning with the four-digit year, '-', the two-
// digit month, '-'. Every text of month M of year Y therefore sorts (as bytes,
// the column's order) at or after "YYYY-MM-01" and before the first day of the
// next month, and every text of another month outside that range. The bounds
// are such texts; the last month of the year 9999 has no next month in four
// digits, so its upper bound is "9999-12-32", after each of its days.

#include "DialectFunctions.h"

#include <cstdio>

namespace kb::dialect::functions {
namespace {

// The month of a and the year of b; false when the statement failed or a
// NULL result has been set.
bool monthOf(sqlite3_context* ctx, sqlite3_value** argv, int& year, int& month) {
    std::optional<sql::datetime::Parts> ofMonth;
    std::optional<sql::datetime::Parts> ofYear;
    if (!readDate(ctx, argv[0], "Month", ofMonth) || !readDate(ctx, argv[1], "Year", ofYear))
        return false;
    if (!ofMonth || !ofYear) {
        sqlite3_result_null(ctx);
        return false;
    }
    month = ofMonth->month;
    year = ofYear->year;
    return true;
}

void resultDay(sqlite3_context* ctx, int year, int month, int day) {
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    sqlite3_result_text(ctx, text, length, SQLITE_TRANSIENT);
}

} // namespace

void monthStart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    int year = 0;
    int month = 0;
    if (monthOf(ctx, argv, year, month))
        resultDay(ctx, year, month, 1);
}

void monthEnd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    constexpr int kLastYear = 9999;
    int year = 0;
    int month = 0;
    if (!monthOf(ctx, argv, year, month))
        return;
    if (month < 12)
        resultDay(ctx, year, month + 1, 1);
    else if (year < kLastYear)
        resultDay(ctx, year + 1, 1, 1);
    else
        resultDay(ctx, year, 12, 32);
}

} // namespace kb::dialect::functions
