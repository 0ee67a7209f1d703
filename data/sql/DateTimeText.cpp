#include "DateTimeText.h"

#include <cmath>

namespace kb::sql::datetime {

namespace {

const QDate kDayZero(1899, 12, 30);
constexpr qint64 kMsecsPerDay = 86400000;
// Day numbers outside 1.1.100 .. 31.12.9999 are refused, as the desktop platforms do.
constexpr double kMinDayNumber = -657434.0;
constexpr double kMaxDayNumber = 2958466.0;
constexpr int kMaxYear = 9999;

// The value of the two or four digits at text[pos]; -1 when one is no digit.
// The caller has made sure the text is long enough.
inline int twoDigits(const char* text, int pos) {
    const unsigned high = unsigned(text[pos] - '0');
    const unsigned low = unsigned(text[pos + 1] - '0');
    return high > 9 || low > 9 ? -1 : int(high * 10 + low);
}

inline int fourDigits(const char* text, int pos) {
    const int high = twoDigits(text, pos);
    const int low = twoDigits(text, pos + 2);
    return high < 0 || low < 0 ? -1 : high * 100 + low;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The date of a count of days since 1 March of the year 0 of the proleptic
// Gregorian calendar.
void civilDate(long long z, Parts& p) {
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    p.day = int(doy - (153 * mp + 2) / 5 + 1);
    p.month = int(mp < 10 ? mp + 3 : mp - 9);
    p.year = int(yoe + era * 400 + (p.month <= 2 ? 1 : 0));
}

QDateTime toDateTime(const Parts& p) {
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second, p.msec), Qt::UTC);
}

} // namespace

// Stored texts are nearly always well formed: the failures are marked unlikely,
// which keeps the digit reading inline on the path every row takes.
std::optional<Parts> isoParts(const char* text, int length) {
    if (length < 10) [[unlikely]]
        return std::nullopt;
    Parts p;
    p.year = fourDigits(text, 0);
    p.month = twoDigits(text, 5);
    p.day = twoDigits(text, 8);
    if (p.year < 1 || p.month < 1 || p.month > 12 || p.day < 1 || text[4] != '-' || text[7] != '-' ||
        p.day > daysInMonth(p.year, p.month)) [[unlikely]]
        return std::nullopt;
    if (length == 10)
        return p;

    if (length < 16 || (text[10] != ' ' && text[10] != 'T') || text[13] != ':') [[unlikely]]
        return std::nullopt;
    p.hour = twoDigits(text, 11);
    p.minute = twoDigits(text, 14);
    if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59) [[unlikely]]
        return std::nullopt;
    if (length > 16) {
        p.second = length >= 19 && text[16] == ':' ? twoDigits(text, 17) : -1;
        if (p.second < 0 || p.second > 59) [[unlikely]]
            return std::nullopt;
        if (length > 19) {
            if (text[19] != '.' || length == 20) [[unlikely]]
                return std::nullopt;
            int scale = 100;
            for (int i = 20; i < length; ++i) {
                if (text[i] < '0' || text[i] > '9') [[unlikely]]
                    return std::nullopt;
                p.msec += (text[i] - '0') * scale;
                scale /= 10;
            }
        }
    }
    return p;
}

std::optional<Parts> dayNumberParts(double days) {
    if (!std::isfinite(days) || days < kMinDayNumber || days >= kMaxDayNumber)
        return std::nullopt;
    const double whole = std::trunc(days);
    long long day = (long long)whole;
    qint64 msecs = std::llround(std::fabs(days - whole) * double(kMsecsPerDay));
    if (msecs == kMsecsPerDay) {
        ++day;
        msecs = 0;
    }
    Parts p;
    // 25569 days from the day zero to 1.1.1970, 719468 from 1.3.0 to 1.1.1970.
    civilDate(day - 25569 + 719468, p);
    if (p.year > kMaxYear)
        return std::nullopt;
    p.hour = int(msecs / 3600000);
    p.minute = int(msecs / 60000 % 60);
    p.second = int(msecs / 1000 % 60);
    p.msec = int(msecs % 1000);
    return p;
}

QDateTime make(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

QString toIso(const QDateTime& dt) {
    if (!dt.isValid())
        return {};
    const QDate d = dt.date();
    const QTime t = dt.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute(),
                             t.second());
}

std::optional<QDateTime> fromIso(const QString& text) {
    const QByteArray latin = text.toLatin1();
    return fromIso(latin.constData(), int(latin.size()));
}

std::optional<QDateTime> fromIso(const char* text, int length) {
    const auto parts = isoParts(text, length);
    if (!parts)
        return std::nullopt;
    return toDateTime(*parts);
}

double toDayNumber(const QDateTime& dt) {
    const double days = double(kDayZero.daysTo(dt.date()));
    const double fraction = double(dt.time().msecsSinceStartOfDay()) / double(kMsecsPerDay);
    // Before the day zero the fraction still counts forward from midnight:
    // -1.25 is 29.12.1899 06:00.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromDayNumber(double days) {
    const auto parts = dayNumberParts(days);
    return parts ? toDateTime(*parts) : QDateTime();
}

} // namespace kb::sql::datetime
