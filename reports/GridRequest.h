#pragma once

#include "QueryRequest.h"

#include <QString>
#include <vector>

namespace kb::reports {

using dataset::ParamBinding;

// Title caption and width in pixels of one result column.
struct ColumnLayout {
    QString title;
    int width;
};

// What a handler gives the grid query run: the statement's lines, exactly as
// they are sent, its bindings in order (date-time and text bindings), and
// one column layout per field of the select list.
struct GridRequest : dataset::QueryRequest {
    std::vector<ColumnLayout> columns;
};

} // namespace kb::reports
