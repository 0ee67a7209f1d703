#pragma once

#include "GridRequest.h"
#include "QueryRequest.h"

#include <functional>

namespace kb::dataset {
class Query;
} // namespace kb::dataset

namespace kb::databound {
class ResultGrid;
}

namespace kb::reports {

// Steps 2 to 6 below (see QueryRequest.h).
using dataset::openRequest;

// The one sequence that fills the result grid:
//  1. enable the export commands (first, so that they are enabled even when
//     a later step fails);
//  2. close the query; 3. clear its SQL text; 4. add the request's lines one
//     at a time;
//  5. bind the parameters by name in the request's order: a date-time
//     binding sets the data type and then the value, a text binding only the
//     value;
//  6. open the query, which rebuilds the grid's columns;
//  7. for every column of the layout, in order: its title, then its width.
// Nothing is caught: a failing step leaves the query closed and the grid
// empty, and its error goes to the caller.
void runGridQuery(const GridRequest& request, dataset::Query& query, databound::ResultGrid& grid,
                  const std::function<void()>& enableExportCommands);

} // namespace kb::reports
