#include "OrganisationDetails.h"

#include "Connection.h"
#include "DbError.h"
#include "SqlName.h"
#include "Transaction.h"

namespace kb::documents {

namespace {

// Plain, quoted SQL with bound values only: nothing here is particular to one engine.
QString table() {
    return sql::quoteName(QString::fromLatin1(kDetailsTable));
}

} // namespace

OrganisationDetails loadDetails(const sql::Connection& connection) {
    // Another accountant may have given the file the table after this connection opened: the statement, not the
    // connection's list of tables, tells whether it is there.
    sql::Statement select;
    try {
        select = connection.prepareNative(
            QStringLiteral("SELECT \"Organizacia\", \"Rukovoditel\", \"GlBuhgalter\" FROM %1").arg(table()));
    } catch (const sql::DbError&) {
        if (connection.columnTypes().hasTable(QString::fromLatin1(kDetailsTable)))
            throw;
        return {};
    }
    OrganisationDetails details;
    if (select.step())
        details = {select.column(0).text(), select.column(1).text(), select.column(2).text()};
    return details;
}

void saveDetails(sql::Connection& connection, const OrganisationDetails& details) {
    const bool created = !connection.columnTypes().hasTable(QString::fromLatin1(kDetailsTable));
    {
        sql::Transaction transaction(connection);
        connection.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Organizacia\" TEXT, \"Rukovoditel\" TEXT, "
                                          "\"GlBuhgalter\" TEXT)")
                               .arg(table()));
        connection.execute(QStringLiteral("DELETE FROM %1").arg(table()));
        sql::Statement insert = connection.prepareNative(
            QStringLiteral("INSERT INTO %1 (\"Organizacia\", \"Rukovoditel\", \"GlBuhgalter\") VALUES (?, ?, ?)")
                .arg(table()));
        insert.bind(1, sql::Value(details.name));
        insert.bind(2, sql::Value(details.head));
        insert.bind(3, sql::Value(details.chiefAccountant));
        insert.step();
        transaction.commit();
    }
    if (created)
        connection.reloadColumnTypes();
}

} // namespace kb::documents
