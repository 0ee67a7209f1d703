#include "KeyContinuation.h"

#include "Connection.h"
#include "Schema.h"
#include "SqlName.h"

namespace kb::dataset::schema {

void continueKeys(sql::Connection& connection) {
    if (!connection.isServer())
        return;
    // An identity's sequence knows nothing of IDs given explicitly: it is set to the greatest one (or, for an empty
    // table, back to its start).
    for (const TableDef& t : tables()) {
        const QString table = sql::quoteName(t.name);
        connection.execute(
            QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'ID'), coalesce(max(\"ID\"), 0) + 1, false) "
                           "FROM %1")
                .arg(table));
    }
}

} // namespace kb::dataset::schema
