#include "Value.h"

#include <cmath>
#include <limits>

namespace kb::sql {

Value::Value(const QDateTime& v) {
    if (!v.isValid())
        return; // an invalid date-time is no value at all
    if (v.timeSpec() == Qt::UTC)
        v_ = v;
    else // keep the wall-clock reading, drop the zone
        v_ = QDateTime(v.date(), v.time(), Qt::UTC);
}

qint64 Value::toInt() const {
    if (const auto* i = std::get_if<qint64>(&v_))
        return *i;
    if (const auto* d = std::get_if<double>(&v_)) {
        if (std::isnan(*d))
            return 0;
        // Saturate instead of the undefined behaviour of an out-of-range cast.
        if (*d >= 9.2233720368547758e18)
            return std::numeric_limits<qint64>::max();
        if (*d <= -9.2233720368547758e18)
            return std::numeric_limits<qint64>::min();
        return qint64(*d);
    }
    return 0;
}

double Value::toDouble() const {
    if (const auto* i = std::get_if<qint64>(&v_))
        return double(*i);
    if (const auto* d = std::get_if<double>(&v_))
        return *d;
    return 0.0;
}

QString Value::text() const {
    if (const auto* s = std::get_if<QString>(&v_))
        return *s;
    return {};
}

QDateTime Value::toDateTime() const {
    if (const auto* dt = std::get_if<QDateTime>(&v_))
        return *dt;
    return {};
}

} // namespace kb::sql
