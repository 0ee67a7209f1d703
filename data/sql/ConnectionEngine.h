#pragma once

#include "Value.h"

#include <QString>
#include <memory>

namespace kb::sql {

class ColumnTypes;
class TextMemo;

// One prepared statement of an engine, behind Statement (see there for what
// each call does).
class StatementEngine {
public:
    virtual ~StatementEngine() = default;
    virtual int parameterCount() const = 0;
    virtual QString parameterName(int index) const = 0;
    virtual int parameterIndex(const QString& name) const = 0;
    virtual void bind(int index, const Value& value) = 0;
    virtual void clearBindings() = 0;
    virtual bool step() = 0;
    virtual void reset() = 0;
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual QString declaredType(int column) const = 0;
    virtual Value column(int column, FieldType heldAs, TextMemo* memo) const = 0;
    virtual bool isReadOnly() const = 0;
};

// One open database of an engine, behind Connection.
class ConnectionEngine {
public:
    virtual ~ConnectionEngine() = default;
    virtual std::unique_ptr<StatementEngine> prepare(const QString& sql) const = 0;
    virtual void execute(const QString& sql) = 0;
    // The declared column types of the program's tables, in creation order.
    virtual std::unique_ptr<ColumnTypes> readColumnTypes() const = 0;
    virtual void checkIntegrity(bool quick) const = 0;
    virtual int changes() const = 0;
    virtual void begin() = 0;
    // A transaction that only reads and sees one state of the whole database throughout.
    virtual void beginReadSnapshot() = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0;
    // How messages name the database: a file's path, or the server and the database.
    virtual QString displayName() const = 0;
};

} // namespace kb::sql
