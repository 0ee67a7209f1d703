#pragma once

#include <QString>

namespace kb::sql {

// Whether a database name is a PostgreSQL connection rather than a file path:
// a postgresql:// or postgres:// URI, or a libpq key=value string such as
// "service=kultbuh" or "host=db1 dbname=kultbuh".
bool isServerName(const QString& name);

// A server connection without any password it carries (after the user name of
// a URI or as its parameter; as a key=value pair), trimmed.
QString withoutPassword(const QString& name);

} // namespace kb::sql
