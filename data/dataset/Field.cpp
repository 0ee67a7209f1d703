#include "Field.h"

#include "DataSetErrors.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "Table.h"
#include "ValueText.h"

#include <cmath>
#include <limits>

namespace kb::dataset {

namespace {

const QString kMonthYearFormat = QStringLiteral("mm.yyyy");

bool fitsInteger(qint64 v) {
    return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
}

// A date entry that holds nothing but blanks, mask blanks and separators is empty.
bool isBlankDate(const QString& text, QChar maskBlank) {
    for (QChar c : text) {
        if (!c.isSpace() && c != maskBlank && c != QLatin1Char('.') && c != QLatin1Char('/') && c != QLatin1Char(':'))
            return false;
    }
    return true;
}

} // namespace

Field::Field(Table& table, schema::FieldDef def, int column)
    : table_(table), def_(std::move(def)),
      mask_(def_.editMask.isEmpty() ? text::EditMask() : text::EditMask(def_.editMask)), column_(column) {}

sql::Value Field::value() const {
    return table_.currentValue(column_);
}

void Field::setValue(const sql::Value& value) {
    table_.checkWritable(column_);
    // A text given to a number or date field is read as if the user had typed it.
    const bool typed = def_.type == sql::FieldType::Integer || def_.type == sql::FieldType::Float ||
                       def_.type == sql::FieldType::DateTime;
    if (typed && value.kind() == sql::Value::Kind::Text) {
        setText(value.text());
        return;
    }

    sql::Value v = value;
    switch (def_.type) {
    case sql::FieldType::Integer:
        if (v.kind() == sql::Value::Kind::Float && std::trunc(v.toDouble()) == v.toDouble() &&
            std::fabs(v.toDouble()) < 1e10)
            v = sql::Value(v.toInt());
        if ((v.kind() != sql::Value::Kind::Integer && !v.isNull()) ||
            (v.kind() == sql::Value::Kind::Integer && !fitsInteger(v.toInt())))
            throw errors::notAnInteger(text::display(v), def_.name);
        break;
    case sql::FieldType::Float:
        if (v.kind() == sql::Value::Kind::Integer)
            v = sql::Value(v.toDouble());
        if ((v.kind() != sql::Value::Kind::Float && !v.isNull()) ||
            (v.kind() == sql::Value::Kind::Float && !std::isfinite(v.toDouble())))
            throw errors::notAFloat(text::display(v), def_.name);
        break;
    case sql::FieldType::DateTime:
        if (v.kind() == sql::Value::Kind::Integer || v.kind() == sql::Value::Kind::Float) {
            const QDateTime dt = sql::datetime::fromDayNumber(v.toDouble());
            if (!dt.isValid())
                throw errors::notADate(text::display(v), def_.name);
            v = sql::Value(dt);
        }
        break;
    case sql::FieldType::Text:
        if (!v.isNull() && v.kind() != sql::Value::Kind::Text)
            v = sql::Value(text::display(v));
        if (def_.maxLength > 0 && v.text().size() > def_.maxLength)
            throw sql::DbError(QStringLiteral("Значение поля '%1' слишком длинное: %2 символов при допустимых %3")
                                   .arg(def_.name)
                                   .arg(v.text().size())
                                   .arg(def_.maxLength));
        break;
    case sql::FieldType::Unknown:
        break;
    }
    table_.setPendingValue(column_, v);
}

void Field::setText(const QString& text) {
    switch (def_.type) {
    case sql::FieldType::Integer: {
        if (text.trimmed().isEmpty()) {
            setValue(sql::Value());
            return;
        }
        const auto v = text::parseInteger(text);
        if (!v || !fitsInteger(*v))
            throw errors::notAnInteger(text, def_.name);
        setValue(sql::Value(*v));
        return;
    }
    case sql::FieldType::Float: {
        if (text.trimmed().isEmpty()) {
            setValue(sql::Value());
            return;
        }
        const auto v = text::parseFloat(text);
        if (!v || !std::isfinite(*v))
            throw errors::notAFloat(text, def_.name);
        setValue(sql::Value(*v));
        return;
    }
    case sql::FieldType::DateTime: {
        if (isBlankDate(text, mask_.isEmpty() ? QLatin1Char(' ') : mask_.blank())) {
            setValue(sql::Value());
            return;
        }
        auto v = text::parseDate(text);
        if (!v)
            v = sql::datetime::fromIso(text.trimmed());
        if (!v)
            throw errors::notADate(text, def_.name);
        setValue(sql::Value(*v));
        return;
    }
    case sql::FieldType::Text:
    case sql::FieldType::Unknown:
        setValue(text.isEmpty() ? sql::Value() : sql::Value(text));
        return;
    }
}

QString Field::displayText() const {
    const sql::Value v = value();
    if (v.isNull())
        return {};
    if (v.kind() == sql::Value::Kind::DateTime && def_.displayFormat == kMonthYearFormat)
        return text::monthYear(v.toDateTime());
    return text::display(v);
}

QString Field::editText() const {
    const sql::Value v = value();
    if (mask_.isEmpty())
        return text::display(v);
    if (v.isNull())
        return mask_.emptyText();
    if (v.kind() == sql::Value::Kind::DateTime)
        return mask_.toEditText(v.toDateTime().toString(QStringLiteral("dd.MM.yy")));
    return mask_.toEditText(text::display(v));
}

} // namespace kb::dataset
