#include "RussianFormat.h"

#include <QLocale>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace kb::documents {

namespace {

constexpr double kLargest = 9.0e15; // kopecks of it still fit in 64 bits with room to spare

const QLocale& russian() {
    static const QLocale locale(QLocale::Russian, QLocale::Russia);
    return locale;
}

// Thousands parted by the Russian locale's group separator, a no-break space.
QString grouped(quint64 value) {
    return russian().toString(value);
}

QString withSign(qint64 value, const QString& magnitude) {
    return value < 0 ? QLatin1Char('-') + magnitude : magnitude;
}

} // namespace

QString monthName(int month) {
    return russian().standaloneMonthName(month);
}

QString monthOfYear(const QDate& date) {
    return QStringLiteral("%1 %2 г.").arg(monthName(date.month())).arg(date.year());
}

qint64 kopecks(double amount) {
    if (!std::isfinite(amount) || std::fabs(amount) > kLargest)
        throw std::runtime_error(QStringLiteral("Сумма %1 не может быть записана в рублях и копейках")
                                     .arg(QString::number(amount, 'g', 17))
                                     .toStdString());
    // Six decimals first: that takes off the binary noise of the database's arithmetic (10933.375 * 0.12 gives
    // 1312.0049999999999, read as 1312.005000) and leaves every kopeck and its half as they are.
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(amount), std::chars_format::fixed, 6);
    if (ec != std::errc())
        throw std::runtime_error("Сумма не может быть записана в рублях и копейках");
    const std::string_view text(buffer.data(), size_t(end - buffer.data()));
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    qint64 result = 0;
    for (const char digit : whole)
        result = result * 10 + (digit - '0');
    for (size_t i = 0; i < 2; ++i)
        result = result * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    if (fraction.size() > 2 && fraction[2] >= '5')
        ++result;
    return amount < 0 ? -result : result;
}

QString formatKopecks(qint64 value) {
    const quint64 magnitude = value < 0 ? quint64(-(value + 1)) + 1 : quint64(value);
    return withSign(value, grouped(magnitude / 100) + QLatin1Char(',') +
                               QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0')));
}

QString formatWhole(qint64 value) {
    const quint64 magnitude = value < 0 ? quint64(-(value + 1)) + 1 : quint64(value);
    return withSign(value, grouped(magnitude));
}

} // namespace kb::documents
