#include "ValueText.h"

#include "NumberText.h"

#include <cmath>

namespace kb::text {
namespace {

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// 15 significant digits, trailing zeros dropped, decimal comma; an exponent
// (below 1E-5 and from 1E15 on) written as E20 / E-7.
QString formatFloat(double d) {
    if (std::isnan(d))
        return QStringLiteral("NAN");
    if (std::isinf(d))
        return d > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (d == 0)
        return QStringLiteral("0"); // also for -0
    const QString s = QString::number(d, 'g', 15);
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    QString mantissa = e < 0 ? s : s.left(e);
    mantissa.replace(QLatin1Char('.'), QLatin1Char(','));
    if (e < 0)
        return mantissa;
    return mantissa + QLatin1Char('E') + QString::number(QStringView(s).mid(e + 1).toInt());
}

QString formatDateTime(const QDateTime& dt) {
    if (!dt.isValid())
        return {};
    const QDate d = dt.date();
    QString s = QString::asprintf("%02d.%02d.%04d", d.day(), d.month(), d.year());
    const QTime t = dt.time();
    if (t.msecsSinceStartOfDay() != 0)
        s += QString::asprintf(" %02d:%02d:%02d", t.hour(), t.minute(), t.second());
    return s;
}

// Reads a date text character by character.
class Reader {
public:
    explicit Reader(QStringView s) : s_(s) {}
    bool atEnd() const { return i_ >= s_.size(); }
    void skipBlanks() {
        while (!atEnd() && s_[i_].isSpace())
            ++i_;
    }
    bool take(QChar c) {
        if (atEnd() || s_[i_] != c)
            return false;
        ++i_;
        return true;
    }
    // Up to maxCount digits; their count in count, their value in value.
    int digits(int maxCount, int& value) {
        int count = 0;
        value = 0;
        while (!atEnd() && count < maxCount && isAsciiDigit(s_[i_])) {
            value = value * 10 + (s_[i_].unicode() - '0');
            ++i_;
            ++count;
        }
        return count;
    }

private:
    QStringView s_;
    qsizetype i_ = 0;
};

} // namespace

QString display(const sql::Value& value) {
    switch (value.kind()) {
    case sql::Value::Kind::Null:
        return {};
    case sql::Value::Kind::Integer:
        return QString::number(value.toInt());
    case sql::Value::Kind::Float:
        return formatFloat(value.toDouble());
    case sql::Value::Kind::Text:
        return value.text();
    case sql::Value::Kind::DateTime:
        return formatDateTime(value.toDateTime());
    }
    return {};
}

QString monthYear(const QDateTime& dt) {
    if (!dt.isValid())
        return {};
    return QString::asprintf("%02d.%04d", dt.date().month(), dt.date().year());
}

std::optional<qint64> parseInteger(const QString& text) {
    return sql::number::scan(text, sql::number::kTyped).integer();
}

std::optional<double> parseFloat(const QString& text) {
    return sql::number::scan(text, sql::number::kTyped).real();
}

std::optional<QDateTime> parseDate(const QString& text) {
    Reader r(text);
    int day = 0, month = 0, year = 0;
    auto separator = [&r] {
        r.skipBlanks();
        const bool ok = r.take(QLatin1Char('.')) || r.take(QLatin1Char('/'));
        r.skipBlanks();
        return ok;
    };
    r.skipBlanks();
    if (r.digits(2, day) == 0 || !separator() || r.digits(2, month) == 0 || !separator())
        return std::nullopt;
    const int yearDigits = r.digits(4, year);
    if (yearDigits == 1 || yearDigits == 2)
        year += year < 30 ? 2000 : 1900;
    else if (yearDigits != 4)
        return std::nullopt;

    int hour = 0, minute = 0, second = 0;
    r.skipBlanks();
    if (!r.atEnd()) {
        if (r.digits(2, hour) == 0 || !r.take(QLatin1Char(':')) || r.digits(2, minute) == 0)
            return std::nullopt;
        if (r.take(QLatin1Char(':')) && r.digits(2, second) == 0)
            return std::nullopt;
        r.skipBlanks();
        if (!r.atEnd())
            return std::nullopt;
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

} // namespace kb::text
