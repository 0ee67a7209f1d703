#pragma once

#include <QString>

namespace kb::dialect {

// The part of the dialect a PostgreSQL server needs beyond the functions the
// schema installs there (see ServerSchema.cpp):
//  - LIKE compares case-insensitively through the exact Russian collation
//    (the server refuses LIKE on the case-ignoring one) and, as in the file,
//    without an escape character unless the statement names one:
//    a LIKE p -> a COLLATE kb_ru_exact ILIKE p ESCAPE '';
//  - ROUND(x) and ROUND(x, n) go to kb_round, which gives a double as the
//    file's ROUND does, with halves to the even neighbour for ROUND(x).
// Strings, quoted names and comments are left alone. Returns the text
// unchanged when there is nothing to rewrite.
QString serverRewrite(const QString& sql);

} // namespace kb::dialect
