#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kb::dataset {

class Query;

// One parameter binding of a request, by the parameter's name (without the
// colon). A date-time binding sets the parameter's data type to date-time and
// then its value; the others set only the value, which gives the parameter
// the value's type (text, integer, float).
struct ParamBinding {
    enum class Kind { DateTime, Text, Integer, Float };
    QString name;
    Kind kind;
    sql::Value value;
};

// A statement for a query object: its lines, exactly as they are sent, and
// its bindings in order.
struct QueryRequest {
    QStringList sql;
    std::vector<ParamBinding> bindings;
};

// Closes the query, gives it the request's lines one at a time, binds the
// request's parameters by name in order (see ParamBinding) and opens it.
// Throws what the query throws; a failure leaves the query closed.
void openRequest(const QueryRequest& request, Query& query);

} // namespace kb::dataset
