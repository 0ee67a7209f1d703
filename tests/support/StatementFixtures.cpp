#include "StatementFixtures.h"

#include "DateTimeText.h"
#include "Query.h"

namespace kbtest {

StatementDb::StatementDb() {
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
}

void runRequest(kb::Query& query, const kb::reports::GridRequest& request) {
    query.close();
    query.sql().clear();
    for (const QString& line : request.sql)
        query.sql().add(line);
    for (const kb::reports::ParamBinding& binding : request.bindings) {
        kb::Parameter& parameter = query.parameters().paramByName(binding.name);
        if (binding.kind == kb::reports::ParamBinding::Kind::DateTime)
            parameter.setDataType(kb::FieldType::DateTime);
        parameter.setValue(binding.value);
    }
    query.open();
}

QDateTime at(int year, int month, int day, int hour, int minute, int second) {
    return kb::datetime::make(year, month, day, hour, minute, second);
}

} // namespace kbtest
