#pragma once

// The names the dialect registers that statements and schemas spell out.
namespace kb::dialect {

// Name of the case-insensitive Russian collation that text columns declare.
inline constexpr const char* kCollation = "RU";

// The strict conversion: kNumberFunction(value, 'Table.Column'). INTEGER, REAL
// and NULL pass unchanged; TEXT holding a number becomes an INTEGER (no decimal
// part) or a REAL; other text and BLOBs fail the statement.
inline constexpr const char* kNumberFunction = "kb_number";

// The bounds of a month, kMonthStartFunction(a, b) and kMonthEndFunction(a, b):
// the first day of the month of a in the year of b, and the first day of the
// month after it; NULL when a or b is NULL (see MonthBounds.cpp).
inline constexpr const char* kMonthStartFunction = "kb_month_start";
inline constexpr const char* kMonthEndFunction = "kb_month_end";

} // namespace kb::dialect
