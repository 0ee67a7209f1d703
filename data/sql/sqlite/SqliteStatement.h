#pragma once

#include "ConnectionEngine.h"

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kb::sql {

// A statement prepared by SQLite; finalized by its destructor.
class SqliteStatement final : public StatementEngine {
public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
    ~SqliteStatement() override;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    int parameterCount() const override;
    QString parameterName(int index) const override;
    int parameterIndex(const QString& name) const override;
    void bind(int index, const Value& value) override;
    void clearBindings() override;
    bool step() override;
    void reset() override;
    int columnCount() const override;
    QString columnName(int column) const override;
    QString declaredType(int column) const override;
    Value column(int column, FieldType heldAs, TextMemo* memo) const override;
    bool isReadOnly() const override;

private:
    [[noreturn]] void fail(int rc) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_;
    // Per column, whether its declared type is a date-time; read at the first text.
    mutable std::vector<char> declaredDates_;
};

} // namespace kb::sql
