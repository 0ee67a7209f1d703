#pragma once

#include "ColumnTypes.h"

#include <QString>

struct sqlite3;

// What makes SQLite answer the program's statements as the desktop database
// engine they were written for would:
//  - Month(d), Year(d) of a date-time (ISO text or day number); NULL -> NULL;
//    anything else fails the statement;
//  - ROUND(x) to a whole number with exact halves to the even neighbour;
//  - LIKE with % and _, case-insensitive for Cyrillic and Latin alike;
//  - text equality and ORDER BY through the Russian collation (see kCollation);
//  - a text column used in arithmetic is converted strictly: a number in it
//    ("25", "12.5", "12,5", blanks around) counts, anything else fails the
//    statement with a message that quotes the value and names the column.
namespace kb::dialect {

// Name of the case-insensitive Russian collation that text columns declare.
inline constexpr const char* kCollation = "RU";

// Registers the functions and the collation on a connection.
void install(sqlite3* db);

// Rewrites a statement so that every text column used as an operand of an
// arithmetic operator goes through the strict conversion. Returns the text
// unchanged when there is nothing to rewrite.
QString rewrite(const QString& sql, const ColumnTypes& types);

} // namespace kb::dialect
