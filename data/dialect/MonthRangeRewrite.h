#pragma once

#include "ColumnTypes.h"

#include <QString>

namespace kb::dialect {

// Puts a range that an index on (..., X) can serve before each condition pair
//
//   Month(X) = Month(:A) and Year(X) = Year(:B)      (or Year first, then Month)
//
// where X is a date-time column (T.C or C, every table of the schema that has
// a column C declares it a date-time) and :A, :B are named or numbered
// parameters, giving
//
//   X >= kb_month_start(:A, :B) and X < kb_month_end(:A, :B) and Month(X) = ...
//
// The pair must stand as two conjuncts of a WHERE, ON or HAVING condition;
// anything else (a pair under NOT, beside a comparison, in a select list or a
// BETWEEN) is left as it is. Function names in any letter case, blanks, line
// breaks and comments between the tokens. Returns the text unchanged when no
// pair is found.
//
// Why the rows stay the same: see MonthRangeRewrite.cpp.
QString rangeMonthConditions(const QString& sql, const sql::ColumnTypes& types);

// For a server, whose date-time columns are typed: removes each pair that
// follows its own range as rangeMonthConditions() wrote it, leaving
//   X >= kb_month_start(:A, :B) and X < kb_month_end(:A, :B)
// which there selects exactly the same rows. Anything else stays as it is.
QString rangesOnly(const QString& sql, const sql::ColumnTypes& types);

} // namespace kb::dialect
