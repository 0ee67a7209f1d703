#include "GridQueryRun.h"

#include "Query.h"
#include "ResultGrid.h"

namespace kb::reports {

void openRequest(const GridRequest& request, kb::Query& query) {
    query.close();
    query.sql().clear();
    for (const QString& line : request.sql)
        query.sql().add(line);

    for (const ParamBinding& binding : request.bindings) {
        Parameter& parameter = query.parameters().paramByName(binding.name);
        if (binding.kind == ParamBinding::Kind::DateTime)
            parameter.setDataType(FieldType::DateTime);
        parameter.setValue(binding.value);
    }

    query.open();
}

void runGridQuery(const GridRequest& request, kb::Query& query, ui::ResultGrid& grid,
                  const std::function<void()>& enableExportCommands) {
    if (enableExportCommands)
        enableExportCommands();
    openRequest(request, query);

    for (int column = 0; column < int(request.columns.size()); ++column) {
        const ColumnLayout& layout = request.columns[size_t(column)];
        grid.setColumnTitle(column, layout.title);
        grid.setColumnWidth(column, layout.width);
    }
}

} // namespace kb::reports
