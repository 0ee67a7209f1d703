#include "ImportValues.h"

#include "DateTimeParts.h"
#include "DateTimeText.h"

#include <cmath>

namespace kb::tools::import {

using jet::Cell;
using jet::ColumnType;

bool fits(const dataset::schema::FieldDef& field, ColumnType oldType) {
    const bool integral = oldType == ColumnType::Byte || oldType == ColumnType::Int || oldType == ColumnType::LongInt;
    switch (field.type) {
    case sql::FieldType::Integer:
        return integral;
    case sql::FieldType::Float:
        return integral || oldType == ColumnType::Single || oldType == ColumnType::Double;
    case sql::FieldType::Text:
        return oldType == ColumnType::Text || oldType == ColumnType::Memo;
    case sql::FieldType::DateTime:
        return oldType == ColumnType::DateTime;
    case sql::FieldType::Unknown:
        break;
    }
    return false;
}

namespace {

Converted refused(const QString& why) {
    return {sql::Value(), why + QStringLiteral(": значение не перенесено")};
}

Converted dateTime(double days) {
    const auto parts = sql::datetime::dayNumberParts(days);
    if (!parts)
        return refused(QStringLiteral("дата вне промежутка от 01.01.0100 до 31.12.9999 (%1 дней от 30.12.1899)")
                           .arg(days, 0, 'g', 17));
    const QDateTime exact = sql::datetime::fromDayNumber(days);
    if (parts->msec == 0)
        return {sql::Value(exact), {}};
    // The file keeps whole seconds; a fraction of a second is rounded, and said so.
    const QDateTime rounded = exact.addMSecs(parts->msec >= 500 ? 1000 - parts->msec : -parts->msec);
    return {sql::Value(rounded), QStringLiteral("время %1,%2 округлено до секунды: %3")
                                     .arg(sql::datetime::toIso(exact))
                                     .arg(parts->msec, 3, 10, QLatin1Char('0'))
                                     .arg(sql::datetime::toIso(rounded))};
}

} // namespace

Converted convert(const dataset::schema::FieldDef& field, const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Null:
        return {};
    case Cell::Kind::Integer:
        return {field.type == sql::FieldType::Float ? sql::Value(double(cell.integer)) : sql::Value(cell.integer), {}};
    case Cell::Kind::Double:
        if (!std::isfinite(cell.number))
            return refused(QStringLiteral("не число (%1)").arg(cell.number));
        // The file stores an integral double as an integer, which reads back as +0 for -0.
        if (cell.number == 0 && std::signbit(cell.number))
            return {sql::Value(0.0), QStringLiteral("число -0 записано как 0")};
        return {sql::Value(cell.number), {}};
    case Cell::Kind::Text:
        if (field.maxLength > 0 && cell.text.size() > field.maxLength)
            return refused(QStringLiteral("текст длиннее %1 символов (%2)").arg(field.maxLength).arg(cell.text.size()));
        return {sql::Value(cell.text), {}};
    case Cell::Kind::DateTime:
        return dateTime(cell.number);
    case Cell::Kind::Boolean:
        break; // fits() never lets a boolean column fill a field
    }
    return refused(QStringLiteral("значение неподходящего типа"));
}

} // namespace kb::tools::import
