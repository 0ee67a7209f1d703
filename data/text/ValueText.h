#pragma once

#include "Value.h"

#include <QString>
#include <optional>

namespace kb::text {

// The default text form of a value as the program shows it (Russian
// conventions): integers plain; floating-point numbers with up to 15
// significant digits, trailing zeros dropped and a decimal comma (1481,4;
// 1200; -0,5), with an exponent below 1E-5 and from 1E15 on (1E20, 1,5E-7);
// date-times dd.MM.yyyy followed by " hh:mm:ss" only when the time is not
// midnight; text as it is; null empty.
QString display(const sql::Value& value);

// A date-time as "mm.yyyy" (two-digit month, point, four-digit year); empty when invalid.
QString monthYear(const QDateTime& dt);

// Text to number conversions; blanks around the number are allowed, nothing
// else. nullopt when the text is not a number.
// parseInteger: an optional sign and digits only ("12,0" is no integer), within 64 bits.
std::optional<qint64> parseInteger(const QString& text);
// parseFloat: an optional sign, digits with a decimal comma or point (either
// side of it may be empty, not both), an optional exponent (1,5e3).
std::optional<double> parseFloat(const QString& text);
// dd.mm.yy or dd.mm.yyyy, '.' or '/' between the parts, optionally followed
// by hh:mm[:ss]; blanks allowed around the parts (" 5. 4.13"). A one- or
// two-digit year yy means 20yy for 00..29 and 19yy for 30..99 (the desktop's
// usual window 1930..2029). nullopt for a date that does not exist (31.02.2013).
std::optional<QDateTime> parseDate(const QString& text);

} // namespace kb::text
