#pragma once

#include <QString>

namespace kb::sql {

// A name as an SQL statement writes it: in double quotes, a double quote
// inside it doubled ("Sotr", "a""b").
QString quoteName(const QString& name);

} // namespace kb::sql
