#pragma once

#include "Value.h"

#include <QString>
#include <memory>
#include <span>
#include <vector>

namespace kb::sql {

class StatementEngine;
class TextMemo;

// One prepared statement. Non-copyable, movable, finalized by its destructor.
class Statement {
public:
    Statement(); // no statement: prepare one into it by assignment
    Statement(std::unique_ptr<StatementEngine> engine, QString sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters are numbered from 1, as SQLite numbers them (on a server too).
    int parameterCount() const;
    QString parameterName(int index) const;        // ":P1", or empty for "?"
    int parameterIndex(const QString& name) const; // 0 when absent; name with its ':'
    void bind(int index, const Value& value);      // DateTime binds as ISO text
    void clearBindings();

    // Runs one step: true while a row is ready, false when done.
    // Throws DbError with the engine's message when the statement fails.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    // Gives a result column the name columnName() reports (for a name longer than the engine keeps).
    void nameColumn(int column, const QString& name);
    QString declaredType(int column) const;
    // The value of a column of the current row: NULL, INTEGER, REAL and TEXT
    // as stored, held in the field type heldAs: as Float, a whole number
    // becomes a double; as DateTime, or in a column declared as a date-time,
    // a text that reads as an ISO date-time becomes a date-time. A memo kept
    // for one column over many rows spares its repeated texts the reading.
    Value column(int column, FieldType heldAs = FieldType::Unknown, TextMemo* memo = nullptr) const;
    // Every column of the current row as column() reads it: column c held as
    // heldAs[c] and with memos[c], where these are not empty (one per column).
    std::vector<Value> row(std::span<const FieldType> heldAs = {}, std::span<TextMemo> memos = {}) const;
    // Steps through every remaining row and returns the values of each, in
    // column order. Throws DbError as step() does.
    std::vector<std::vector<Value>> fetchAll();

    // Whether running the statement leaves the database as it is (the engine's own judgement).
    bool isReadOnly() const;

    const QString& sql() const { return sql_; }

private:
    std::unique_ptr<StatementEngine> engine_;
    QString sql_;
    std::vector<std::pair<int, QString>> names_; // given by nameColumn()
};

} // namespace kb::sql
