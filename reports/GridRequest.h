#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kb::reports {

// One parameter binding of a grid query run: a date-time binding sets the
// parameter's data type to date-time and then its value; a text binding sets
// only the value, which gives the parameter the text type.
struct ParamBinding {
    enum class Kind { DateTime, Text };
    QString name;
    Kind kind;
    Value value;
};

// Title caption and width in pixels of one result column.
struct ColumnLayout {
    QString title;
    int width;
};

// What a handler gives the grid query run: the statement's lines, exactly as
// they are sent, its bindings in order, and one column layout per field of
// the select list.
struct GridRequest {
    QStringList sql;
    std::vector<ParamBinding> bindings;
    std::vector<ColumnLayout> columns;
};

} // namespace kb::reports
