#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

// How amounts and months read on the printed documents.
namespace kb::documents {

// "апрель 2013 г.": the month's name as a bookkeeper writes it after "за", then the year.
QString monthOfYear(const QDate& date);
// The month's name in lower case, 1 = "январь".
QString monthName(int month);

// An amount in whole kopecks: the number taken to six decimals, then rounded
// to two with a half going away from zero (0,125 gives 0,13 and 1312,005 gives
// 1312,01, as a bookkeeper rounds by hand, even where the double lies just
// under the half). Throws std::runtime_error for a value that is not finite or
// too large for kopecks.
qint64 kopecks(double amount);

// "1 234 567,05": thousands parted by a no-break space, a decimal comma.
QString formatKopecks(qint64 kopecks);
// "12 345": a whole number parted the same way.
QString formatWhole(qint64 value);

} // namespace kb::documents
