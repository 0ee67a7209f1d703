#pragma once

#include "Value.h"

#include <QString>
#include <optional>

namespace kb::text {

// The default text form of a value as the program shows it (Russian
// conventions): integers plain, floating-point numbers with up to 15
// significant digits and a decimal comma (1481,4), date-times dd.MM.yyyy
// followed by " hh:mm:ss" only when the time is not midnight, null empty.
QString display(const Value& value);

// A date-time as "mm.yyyy" (two-digit month, point, four-digit year).
QString monthYear(const QDateTime& dt);

// Text to number conversions that accept a decimal comma or point and
// surrounding blanks; nullopt when the text is not a number.
std::optional<qint64> parseInteger(const QString& text);
std::optional<double> parseFloat(const QString& text);
// dd.mm.yy or dd.mm.yyyy, optionally followed by hh:mm[:ss]; blanks allowed
// around the parts. A two-digit year yy means 20yy for 00..29 and 19yy for
// 30..99 (the desktop's usual window 1930..2029).
std::optional<QDateTime> parseDate(const QString& text);

} // namespace kb::text
