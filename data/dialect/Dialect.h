#pragma once

#include "ColumnTypes.h"
#include "DialectNames.h"
#include "Statement.h"

#include <QString>

namespace kb::sql {
class Connection;
} // namespace kb::sql

// What makes SQLite answer the program's statements as the desktop database
// engine they were written for would:
//  - Month(d), Year(d) of a date-time: the stored ISO text "YYYY-MM-DD[ HH:MM[:SS[.fff]]]"
//    or a day number (days since 30.12.1899, years 100..9999); NULL -> NULL;
//    anything else fails the statement with a message quoting the value;
//  - ROUND(x) to a whole number (a REAL) with exact halves to the even
//    neighbour; ROUND(x, n) stays SQLite's own;
//  - LIKE with % (any run, the empty one too) and _ (one character), case-
//    insensitive for Cyrillic and Latin alike (simple case folding; ё and е
//    stay different), ESCAPE for a literal % or _; NULL -> NULL;
//  - text equality and ORDER BY through the Russian collation (see kCollation);
//  - a text column used in arithmetic is converted strictly: a number in it
//    ("25", "12.5", "12,5", blanks around) counts, anything else (the empty
//    text too) fails the statement with a message that quotes the value and
//    names the column.
namespace kb::dialect {

// Registers the functions and the collation on a connection; every connection
// that runs the program's statements or creates its tables needs them.
// Throws DbError.
void install(sql::Connection& connection);

// Whether two texts are equal under the Russian collation, as "=" compares a
// text column: letter case does not count. Throws DbError when the collation
// cannot be opened.
bool equalText(const QString& a, const QString& b);

// Prepares a statement as the program wrote it: rewritten first (see rewrite()),
// then prepared as Connection::prepareNative prepares it.
sql::Statement prepare(const sql::Connection& connection, const QString& sql);

// Rewrites a statement so that every text column (by its declared type in
// types) used as an operand of an arithmetic operator (+ - * / % & | << >>,
// unary - and ~, also through parentheses) or as the whole argument of sum,
// total, avg, abs or round goes through the strict conversion:
// Premia.Premia*2 -> kb_number(Premia.Premia,'Premia.Premia')*2. Columns are
// found as Table.Column, Alias.Column (FROM Sotr s, Sotr AS s) or a bare
// Column that only one table of the statement's FROM list has. A select-list
// item that changes and has no alias gets its original text as alias, so the
// result column keeps the name SQLite would give the statement as written.
// String literals, comments and other uses of a column are left alone.
// Then each condition pair "Month(X) = Month(:A) and Year(X) = Year(:B)" gets
// the date range before it that an index serves (see MonthRangeRewrite.h).
// Returns the text unchanged when there is nothing to rewrite.
QString rewrite(const QString& sql, const sql::ColumnTypes& types);

} // namespace kb::dialect
