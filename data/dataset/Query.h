#pragma once

#include "DataSet.h"
#include "Value.h"

#include <QStringList>
#include <functional>
#include <vector>

namespace kb::sql {
class Connection;
class Statement;
} // namespace kb::sql

namespace kb::dataset {

// A named parameter of a query: set its data type, then its value.
class Parameter {
public:
    explicit Parameter(QString name) : name_(std::move(name)) {}
    const QString& name() const { return name_; }
    sql::FieldType dataType() const { return dataType_; }
    void setDataType(sql::FieldType type) { dataType_ = type; }
    const sql::Value& value() const { return value_; }
    // A value set without a data type gives the parameter the value's type.
    void setValue(const sql::Value& value);

private:
    QString name_;
    sql::FieldType dataType_ = sql::FieldType::Unknown;
    sql::Value value_;
};

// The parameters of a query's current text, rebuilt whenever the text changes.
class Parameters {
public:
    int count() const { return int(items_.size()); }
    Parameter& at(int i) { return items_.at(size_t(i)); }
    const Parameter& at(int i) const { return items_.at(size_t(i)); }
    Parameter* findParam(const QString& name); // case-insensitive; nullptr when absent
    // Throws DbError "Параметр 'X' не найден" when absent.
    Parameter& paramByName(const QString& name);
    void rebuild(const QStringList& names);

private:
    std::vector<Parameter> items_;
};

// The statement text of a query as a list of lines.
class SqlLines {
public:
    explicit SqlLines(std::function<void()> changed) : changed_(std::move(changed)) {}
    void clear();
    void add(const QString& line);
    int count() const { return int(lines_.size()); }
    const QStringList& lines() const { return lines_; }
    QString text() const { return lines_.join(QLatin1Char('\n')); } // as sent

private:
    QStringList lines_;
    std::function<void()> changed_;
};

// A free query on the connection. Opening executes the statement and fetches
// the whole result, so the record count is exact and rows can be revisited.
// Changing the text closes the query and rebuilds its parameters, each without
// type or value. A parameter left without a value is bound as NULL.
class Query : public DataSet {
    Q_OBJECT
public:
    explicit Query(sql::Connection& connection, QObject* parent = nullptr);

    SqlLines& sql() { return sql_; }
    const SqlLines& sql() const { return sql_; }
    Parameters& parameters() { return params_; }

    bool isActive() const override { return active_; }
    void setActive(bool active);
    void open();  // throws DbError; the query stays closed when it fails
    void close(); // closing a closed query does nothing

    int fieldCount() const override;
    QString fieldName(int column) const override; // as the engine names the result column
    int recordCount() const override;
    sql::Value value(int row, int column) const override;
    // The current row's value of a column (the export's "field by position").
    sql::Value fieldValue(int column) const;

private:
    void textChanged();
    void bindParameters(sql::Statement& statement);
    void checkColumn(int column) const; // throws DbError for a number outside the fields

    sql::Connection& connection_;
    SqlLines sql_;
    Parameters params_;
    bool active_ = false;
    QStringList fieldNames_;
    std::vector<std::vector<sql::Value>> rows_;
};

} // namespace kb::dataset
