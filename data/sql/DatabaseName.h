#pragma once

#include <QString>

namespace kb::sql {

// Whether a database name is a PostgreSQL connection rather than a file path:
// a postgresql:// or postgres:// URI, or a libpq key=value string such as
// "service=kultbuh" or "host=db1 dbname=kultbuh".
bool isServerName(const QString& name);

} // namespace kb::sql
