// Date-times on any text: as ISO text, as a day number (the first 8 bytes as a double) and as typed into a field.

#include "DateTimeText.h"
#include "FuzzCheck.h"
#include "ValueText.h"

#include <cmath>
#include <cstring>

namespace {
using namespace kb;

bool isReal(const sql::datetime::Parts& p, int firstYear) {
    return QDate(p.year, p.month, p.day).isValid() && QTime(p.hour, p.minute, p.second, p.msec).isValid() &&
           p.year >= firstYear && p.year <= 9999;
}

void checkIso(std::string_view bytes, const QString& text) {
    const auto parts = sql::datetime::isoParts(bytes.data(), int(bytes.size()));
    const auto dt = sql::datetime::fromIso(bytes.data(), int(bytes.size()));
    fuzz::check(parts.has_value() == dt.has_value(), "fromIso takes what isoParts takes", text);
    if (!parts)
        return;
    fuzz::check(isReal(*parts, 1), "ISO parts are a real date-time", text);
    const QString iso = sql::datetime::toIso(*dt);
    const auto back = sql::datetime::fromIso(iso); // whole seconds
    fuzz::check(back == dt->addMSecs(-parts->msec), "an ISO date-time prints and reads back", text + " -> " + iso);
}

// Before the day zero the fraction counts forward from the day's midnight (-1.25 is -0.75 on this line).
double timeLine(double days) {
    const double whole = std::trunc(days);
    return days >= 0 ? days : whole + std::fabs(days - whole);
}

void checkDayNumber(std::string_view bytes) {
    double days;
    if (bytes.size() < sizeof days)
        return;
    std::memcpy(&days, bytes.data(), sizeof days);
    const auto parts = sql::datetime::dayNumberParts(days);
    const QDateTime dt = sql::datetime::fromDayNumber(days);
    const QString context = QString::number(days, 'g', 17);
    fuzz::check(parts.has_value() == dt.isValid(), "fromDayNumber is valid where dayNumberParts takes", context);
    if (!parts)
        return;
    fuzz::check(isReal(*parts, 100), "day number parts are a real date-time from 1.1.100 to 31.12.9999", context);
    const double back = sql::datetime::toDayNumber(dt);
    fuzz::check(std::fabs(timeLine(back) - timeLine(days)) <= 0.5 / 86400000.0 + 1e-15 * std::fabs(days),
                "a day number converts back within a millisecond", context + " -> " + QString::number(back, 'g', 17));
    fuzz::check(sql::datetime::fromDayNumber(back) == dt, "a date-time's day number reads back to it", context);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::bytes(data, size);
    const QString text = fuzz::utf8(bytes);
    checkIso(bytes, text);
    checkDayNumber(bytes);
    if (const auto typed = text::parseDate(text)) {
        fuzz::check(typed->isValid(), "a date read is valid", text);
        const QString shown = text::display(sql::Value(*typed));
        fuzz::check(text::parseDate(shown) == typed, "a date read shows and reads back", text + " -> " + shown);
    }
    return 0;
}
