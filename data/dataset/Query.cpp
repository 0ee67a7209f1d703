#include "Query.h"

#include "Connection.h"
#include "DataSetErrors.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "Dialect.h"
#include "SqlLexer.h"
#include "ValueText.h"

namespace kb::dataset {

namespace {

// The value a parameter is bound with: a date-time parameter accepts a
// date-time, a day number (the month picker's value) or a date as text.
sql::Value boundValue(const Parameter& p) {
    const sql::Value& v = p.value();
    if (p.dataType() != sql::FieldType::DateTime)
        return v;
    switch (v.kind()) {
    case sql::Value::Kind::Null:
    case sql::Value::Kind::DateTime:
        return v;
    case sql::Value::Kind::Integer:
    case sql::Value::Kind::Float: {
        const QDateTime dt = sql::datetime::fromDayNumber(v.toDouble());
        if (dt.isValid())
            return sql::Value(dt);
        break;
    }
    case sql::Value::Kind::Text: {
        if (const auto iso = sql::datetime::fromIso(v.text()))
            return sql::Value(*iso);
        if (const auto typed = text::parseDate(v.text()))
            return sql::Value(*typed);
        break;
    }
    }
    throw sql::DbError(QStringLiteral("Значение параметра '%1' не является датой: %2").arg(p.name(), text::display(v)));
}

} // namespace

// ---------------------------------------------------------------- Parameter

void Parameter::setValue(const sql::Value& value) {
    value_ = value;
    if (dataType_ != sql::FieldType::Unknown)
        return;
    switch (value.kind()) {
    case sql::Value::Kind::Null:
        break;
    case sql::Value::Kind::Integer:
        dataType_ = sql::FieldType::Integer;
        break;
    case sql::Value::Kind::Float:
        dataType_ = sql::FieldType::Float;
        break;
    case sql::Value::Kind::Text:
        dataType_ = sql::FieldType::Text;
        break;
    case sql::Value::Kind::DateTime:
        dataType_ = sql::FieldType::DateTime;
        break;
    }
}

Parameter* Parameters::findParam(const QString& name) {
    for (Parameter& p : items_) {
        if (p.name().compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

Parameter& Parameters::paramByName(const QString& name) {
    if (Parameter* p = findParam(name))
        return *p;
    throw sql::DbError(QStringLiteral("Параметр '%1' не найден").arg(name));
}

void Parameters::rebuild(const QStringList& names) {
    items_.clear();
    for (const QString& name : names) {
        if (!findParam(name))
            items_.emplace_back(name);
    }
}

// ---------------------------------------------------------------- SqlLines

void SqlLines::clear() {
    if (lines_.isEmpty())
        return;
    lines_.clear();
    changed_();
}

void SqlLines::add(const QString& line) {
    lines_.append(line);
    changed_();
}

// ---------------------------------------------------------------- Query

Query::Query(sql::Connection& connection, QObject* parent)
    : DataSet(parent), connection_(connection), sql_([this] { textChanged(); }) {}

void Query::textChanged() {
    close();
    params_.rebuild(sql::parameterNames(sql_.text()));
}

void Query::setActive(bool active) {
    if (active)
        open();
    else
        close();
}

void Query::bindParameters(sql::Statement& statement) {
    for (int i = 1; i <= statement.parameterCount(); ++i) {
        const QString name = statement.parameterName(i);
        Parameter* p = name.startsWith(QLatin1Char(':')) ? params_.findParam(name.mid(1)) : nullptr;
        statement.bind(i, p ? boundValue(*p) : sql::Value());
    }
}

void Query::open() {
    if (active_)
        return;
    // Everything is read into locals first, so a failure leaves the query as it was: closed.
    sql::Statement statement = dialect::prepare(connection_, sql_.text());
    const int columns = statement.columnCount();
    if (columns == 0)
        throw sql::DbError(QStringLiteral("Запрос не возвращает набора данных: открыть можно только запрос SELECT"));
    bindParameters(statement);

    std::vector<std::vector<sql::Value>> rows = statement.fetchAll();
    QStringList names;
    for (int c = 0; c < columns; ++c)
        names.append(statement.columnName(c));

    rows_ = std::move(rows);
    fieldNames_ = std::move(names);
    active_ = true;
    emit dataReset();
    first();
    emit activeChanged(true);
}

void Query::close() {
    if (!active_)
        return;
    active_ = false;
    rows_.clear();
    fieldNames_.clear();
    emit dataReset();
    setCursor(-1, true, true);
    emit activeChanged(false);
}

int Query::fieldCount() const {
    throwIfInactive();
    return int(fieldNames_.size());
}

void Query::checkColumn(int column) const {
    if (column < 0 || column >= fieldNames_.size())
        throw errors::noQueryField(column, fieldNames_.size());
}

QString Query::fieldName(int column) const {
    throwIfInactive();
    checkColumn(column);
    return fieldNames_.at(column);
}

int Query::recordCount() const {
    throwIfInactive();
    return int(rows_.size());
}

sql::Value Query::value(int row, int column) const {
    throwIfInactive();
    if (row < 0 || row >= int(rows_.size()))
        throw sql::DbError(
            QStringLiteral("Записи с номером %1 нет: в запросе %2 записей").arg(row + 1).arg(rows_.size()));
    checkColumn(column);
    return rows_[size_t(row)][size_t(column)];
}

sql::Value Query::fieldValue(int column) const {
    throwIfInactive();
    checkColumn(column);
    return currentValue(column);
}

} // namespace kb::dataset
