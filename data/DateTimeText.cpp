#include "DateTimeText.h"

#include <cmath>

namespace kb::datetime {

namespace {

const QDate kDayZero(1899, 12, 30);
constexpr qint64 kMsecsPerDay = 86400000;
// Day numbers outside 1.1.100 .. 31.12.9999 are refused, as the desktop platforms do.
constexpr double kMinDayNumber = -657434.0;
constexpr double kMaxDayNumber = 2958466.0;

// Reads exactly `count` digits at text[pos]; -1 when one of them is no digit.
int digits(const char* text, int length, int pos, int count) {
    if (pos + count > length)
        return -1;
    int value = 0;
    for (int i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

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

// Accepts "YYYY-MM-DD", optionally followed by a blank or 'T' and "HH:MM",
// ":SS" and a fraction of a second. Nothing else may follow.
std::optional<QDateTime> fromIso(const char* text, int length) {
    const int year = digits(text, length, 0, 4);
    const int month = digits(text, length, 5, 2);
    const int day = digits(text, length, 8, 2);
    if (year < 0 || month < 0 || day < 0 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    if (length == 10)
        return QDateTime(date, QTime(0, 0), Qt::UTC);

    if (length < 16 || (text[10] != ' ' && text[10] != 'T') || text[13] != ':')
        return std::nullopt;
    const int hour = digits(text, length, 11, 2);
    const int minute = digits(text, length, 14, 2);
    int second = 0;
    int msec = 0;
    int pos = 16;
    if (pos < length) {
        if (text[pos] != ':')
            return std::nullopt;
        second = digits(text, length, pos + 1, 2);
        pos += 3;
        if (pos < length) {
            if (text[pos] != '.' || pos + 1 >= length)
                return std::nullopt;
            int scale = 100;
            for (++pos; pos < length; ++pos) {
                if (text[pos] < '0' || text[pos] > '9')
                    return std::nullopt;
                msec += (text[pos] - '0') * scale;
                scale /= 10;
            }
        }
    }
    const QTime time(hour, minute, second, msec);
    if (hour < 0 || minute < 0 || second < 0 || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

double toDayNumber(const QDateTime& dt) {
    const double days = double(kDayZero.daysTo(dt.date()));
    const double fraction = double(dt.time().msecsSinceStartOfDay()) / double(kMsecsPerDay);
    // Before the day zero the fraction still counts forward from midnight:
    // -1.25 is 29.12.1899 06:00.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromDayNumber(double days) {
    if (!std::isfinite(days) || days < kMinDayNumber || days >= kMaxDayNumber)
        return {};
    const double whole = std::trunc(days);
    const qint64 msecs = std::llround(std::fabs(days - whole) * double(kMsecsPerDay));
    return QDateTime(kDayZero.addDays(qint64(whole)), QTime(0, 0), Qt::UTC).addMSecs(msecs);
}

} // namespace kb::datetime
