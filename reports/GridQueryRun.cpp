#include "GridQueryRun.h"

#include "ResultGrid.h"

namespace kb::reports {

void runGridQuery(const GridRequest& request, dataset::Query& query, databound::ResultGrid& grid,
                  const std::function<void()>& enableExportCommands) {
    if (enableExportCommands)
        enableExportCommands();
    dataset::openRequest(request, query);

    for (int column = 0; column < int(request.columns.size()); ++column) {
        const ColumnLayout& layout = request.columns[size_t(column)];
        grid.setColumnTitle(column, layout.title);
        grid.setColumnWidth(column, layout.width);
    }
}

} // namespace kb::reports
