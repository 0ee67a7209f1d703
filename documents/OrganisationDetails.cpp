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

QString createStatement() {
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Organizacia\" TEXT, \"Rukovoditel\" TEXT, "
                          "\"GlBuhgalter\" TEXT)")
        .arg(table());
}

} // namespace

bool hasDetailsTable(const sql::Connection& connection) {
    return connection.columnTypes().hasTable(QString::fromLatin1(kDetailsTable));
}

OrganisationDetails loadDetails(const sql::Connection& connection) {
    // Another accountant may have given the file the table after this connection opened: the statement, not the
    // connection's list of tables, tells whether it is there.
    sql::Statement select;
    try {
        select = connection.prepareNative(
            QStringLiteral("SELECT \"Organizacia\", \"Rukovoditel\", \"GlBuhgalter\" FROM %1").arg(table()));
    } catch (const sql::DbError&) {
        if (hasDetailsTable(connection))
            throw;
        return {};
    }
    OrganisationDetails details;
    if (select.step())
        details = {select.column(0).text(), select.column(1).text(), select.column(2).text()};
    return details;
}

void createDetailsTable(sql::Connection& connection) {
    connection.execute(createStatement());
}

void writeDetails(sql::Connection& connection, const OrganisationDetails& details) {
    // Creating a table takes rights on the database that an accountant's role on a server need not have; where
    // the table is there already only its row is written.
    if (!hasDetailsTable(connection))
        createDetailsTable(connection);
    // The one row is changed in place rather than deleted and inserted again: on a server two accountants saving
    // at once then queue on that row instead of each inserting one.
    const auto bindAll = [&](sql::Statement& statement) {
        statement.bind(1, sql::Value(details.name));
        statement.bind(2, sql::Value(details.head));
        statement.bind(3, sql::Value(details.chiefAccountant));
        statement.step();
    };
    sql::Statement update = connection.prepareNative(
        QStringLiteral("UPDATE %1 SET \"Organizacia\" = ?1, \"Rukovoditel\" = ?2, \"GlBuhgalter\" = ?3").arg(table()));
    bindAll(update);
    if (connection.changes() > 0)
        return;
    sql::Statement insert = connection.prepareNative(
        QStringLiteral("INSERT INTO %1 (\"Organizacia\", \"Rukovoditel\", \"GlBuhgalter\") VALUES (?1, ?2, ?3)")
            .arg(table()));
    bindAll(insert);
}

void saveDetails(sql::Connection& connection, const OrganisationDetails& details) {
    const bool created = !hasDetailsTable(connection);
    {
        sql::Transaction transaction(connection);
        writeDetails(connection, details);
        transaction.commit();
    }
    if (created)
        connection.reloadColumnTypes();
}

} // namespace kb::documents
