#include "QueryRequest.h"

#include "Query.h"

namespace kb::dataset {

void openRequest(const QueryRequest& request, Query& query) {
    query.close();
    query.sql().clear();
    for (const QString& line : request.sql)
        query.sql().add(line);

    for (const ParamBinding& binding : request.bindings) {
        Parameter& parameter = query.parameters().paramByName(binding.name);
        if (binding.kind == ParamBinding::Kind::DateTime)
            parameter.setDataType(sql::FieldType::DateTime);
        parameter.setValue(binding.value);
    }

    query.open();
}

} // namespace kb::dataset
