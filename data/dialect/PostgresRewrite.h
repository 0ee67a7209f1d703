#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace kb::sql {
class ColumnTypes;
} // namespace kb::sql

namespace kb::dialect {

// The part of the dialect a PostgreSQL server needs beyond the functions the
// schema installs there (see ServerSchema.cpp):
//  - a month condition pair after its own range keeps the range alone, which
//    on typed columns is the same condition (see rangesOnly());
//  - LIKE compares case-insensitively through the exact Russian collation
//    (the server refuses LIKE on the case-ignoring one) and, as in the file,
//    without an escape character unless the statement names one:
//    a LIKE p -> a COLLATE kb_ru_exact ILIKE p ESCAPE '';
//  - ROUND(x) and ROUND(x, n) go to kb_round, which gives a double as the
//    file's ROUND does, with halves to the even neighbour for ROUND(x).
//  - a plain SELECT over tables of the schema (types) is ordered at last by
//    their IDs in FROM order, so that rows of equal sort key, or all rows
//    without ORDER BY, come as SQLite's plan gives them to the program;
//  - an expression in the select list without alias gets its text as alias,
//    the name SQLite gives such a column (the server would name it after its
//    function); a name longer than the server keeps goes to longNames, for
//    the statement's column of that number.
// Strings, quoted names and comments are left alone. Returns the text
// unchanged when there is nothing to rewrite.
struct ServerStatement {
    QString sql;
    std::vector<std::pair<int, QString>> longNames; // result column -> its name
};
ServerStatement serverRewrite(const QString& sql, const sql::ColumnTypes& types);

} // namespace kb::dialect
