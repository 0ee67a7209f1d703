#include "Dialect.h"

#include "Connection.h"
#include "DbError.h"
#include "DialectRegistration.h"
#include "PostgresRewrite.h"

#include <memory>

namespace kb::dialect {

void install(sql::Connection& connection) {
    if (connection.isServer()) // the server's functions and collations come with its schema
        return;
    try {
        registerDialect(connection.handle());
    } catch (const RegistrationError& e) {
        throw sql::DbError(std::string(e.what()), e.code());
    }
}

bool equalText(const QString& a, const QString& b) {
    std::unique_ptr<UCollator, decltype(&ucol_close)> collator(nullptr, &ucol_close);
    try {
        collator.reset(openCollator());
    } catch (const RegistrationError& e) {
        throw sql::DbError(std::string(e.what()), e.code());
    }
    const QByteArray first = a.toUtf8();
    const QByteArray second = b.toUtf8();
    return collate(collator.get(), int(first.size()), first.constData(), int(second.size()), second.constData()) == 0;
}

sql::Statement prepare(const sql::Connection& connection, const QString& sql) {
    const QString rewritten = rewrite(sql, connection.columnTypes());
    if (!connection.isServer())
        return connection.prepareNative(rewritten);
    const ServerStatement server = serverRewrite(rewritten, connection.columnTypes());
    sql::Statement statement = connection.prepareNative(server.sql);
    for (const auto& [column, name] : server.longNames)
        statement.nameColumn(column, name);
    return statement;
}

} // namespace kb::dialect
