#include "Statement.h"

#include "ConnectionEngine.h"
#include "TextMemo.h"

#include <utility>

namespace kb::sql {

Statement::Statement(std::unique_ptr<StatementEngine> engine, QString sql)
    : engine_(std::move(engine)), sql_(std::move(sql)) {}

Statement::Statement() = default;
Statement::~Statement() = default;
Statement::Statement(Statement&& other) noexcept = default;
Statement& Statement::operator=(Statement&& other) noexcept = default;

int Statement::parameterCount() const {
    return engine_ ? engine_->parameterCount() : 0;
}

QString Statement::parameterName(int index) const {
    return engine_ ? engine_->parameterName(index) : QString();
}

int Statement::parameterIndex(const QString& name) const {
    return engine_ ? engine_->parameterIndex(name) : 0;
}

void Statement::bind(int index, const Value& value) {
    engine_->bind(index, value);
}

void Statement::clearBindings() {
    if (engine_)
        engine_->clearBindings();
}

bool Statement::step() {
    return engine_->step();
}

void Statement::reset() {
    if (engine_)
        engine_->reset();
}

bool Statement::isReadOnly() const {
    return !engine_ || engine_->isReadOnly();
}

int Statement::columnCount() const {
    return engine_ ? engine_->columnCount() : 0;
}

QString Statement::columnName(int column) const {
    for (const auto& [c, name] : names_)
        if (c == column)
            return name;
    return engine_->columnName(column);
}

void Statement::nameColumn(int column, const QString& name) {
    names_.emplace_back(column, name);
}

QString Statement::declaredType(int column) const {
    return engine_->declaredType(column);
}

Value Statement::column(int column, FieldType heldAs, TextMemo* memo) const {
    return engine_->column(column, heldAs, memo);
}

std::vector<Value> Statement::row(std::span<const FieldType> heldAs, std::span<TextMemo> memos) const {
    const int columns = engine_->columnCount();
    std::vector<Value> values;
    values.reserve(size_t(columns));
    for (int c = 0; c < columns; ++c)
        values.push_back(engine_->column(c, heldAs.empty() ? FieldType::Unknown : heldAs[size_t(c)],
                                         memos.empty() ? nullptr : &memos[size_t(c)]));
    return values;
}

std::vector<std::vector<Value>> Statement::fetchAll() {
    std::vector<std::vector<Value>> rows;
    while (step())
        rows.push_back(row());
    return rows;
}

} // namespace kb::sql
