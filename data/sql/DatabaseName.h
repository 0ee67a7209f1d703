#pragma once

#include <QString>

namespace kb::sql {

// Whether a database name names a PostgreSQL server rather than a file: a
// "postgresql://" or "postgres://" URI, or a libpq key=value string such as
// "service=kultbuh" or "host=a dbname=b" (a keyword of letters and '_', then
// optional blanks and '='). Anything else, "./a=b/x.db" included, is a file path.
bool isServerName(const QString& name);

} // namespace kb::sql
