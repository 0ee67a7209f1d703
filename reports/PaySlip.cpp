#include "PaySlip.h"

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace kb::reports {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

std::optional<double> number(const sql::Value& value) {
    if (value.kind() != sql::Value::Kind::Integer && value.kind() != sql::Value::Kind::Float)
        return std::nullopt;
    return value.toDouble();
}

// Rounds to the nearest whole number, an exact half to the even one.
std::int32_t whole(const std::optional<double>& value, const char* figure) {
    const QString name = QString::fromUtf8(figure);
    if (!value)
        throw std::runtime_error(
            QStringLiteral("Расчётный лист не составлен: у показателя «%1» нет значения").arg(name).toStdString());
    const double rounded = std::nearbyint(*value); // the default rounding mode rounds halves to even
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        throw std::runtime_error(
            QStringLiteral("Расчётный лист не составлен: показатель «%1» (%2) не умещается в 32-разрядное целое число")
                .arg(name, QString::number(*value, 'f', 2))
                .toStdString());
    return std::int32_t(rounded);
}

std::optional<double> sum(const std::optional<double>& a, const std::optional<double>& b, double sign = 1.0) {
    if (!a || !b)
        return std::nullopt;
    return *a + sign * *b;
}

} // namespace

PaySlipFigures paySlipFigures(const PaySlipColumns& columns) {
    const std::optional<double> rate = number(columns.rate);
    const std::optional<double> bonus = number(columns.bonus);
    const std::optional<double> incomeTax = number(columns.incomeTax);
    const std::optional<double> pensionTax = number(columns.pensionTax);
    const std::optional<double> gross = sum(rate, bonus);
    PaySlipFigures figures{};
    figures.salary = whole(rate, "Оклад");
    figures.bonus = whole(bonus, "Премия");
    figures.gross = whole(gross, "Итого");
    figures.incomeTax = whole(incomeTax, "Подоходный налог");
    figures.pensionTax = whole(pensionTax, "Пенсионный налог");
    figures.net = whole(sum(sum(gross, incomeTax, -1.0), pensionTax, -1.0), "Итого к выдаче");
    return figures;
}

QString paySlipText(const QString& name, const PaySlipFigures& figures) {
    const auto line = [](const char* label, std::int32_t figure) {
        return QString::fromUtf8(label) + QString::number(figure) + kLineEnd;
    };
    return name + kLineEnd + line("Оклад: ", figures.salary) + line("Премия: ", figures.bonus) +
           line("Итого: ", figures.gross) + line("Вычтено: подоходный налог ", figures.incomeTax) +
           line("         пенсионный налог ", figures.pensionTax) + line("Итого к выдаче: ", figures.net);
}

} // namespace kb::reports
