#include "Dialect.h"

#include "Connection.h"
#include "DbError.h"
#include "DialectRegistration.h"

namespace kb::dialect {

void install(Connection& connection) {
    try {
        registerDialect(connection.handle());
    } catch (const RegistrationError& e) {
        throw DbError(std::string(e.what()), e.code());
    }
}

Statement prepare(const Connection& connection, const QString& sql) {
    return connection.prepareNative(rewrite(sql, connection.columnTypes()));
}

} // namespace kb::dialect
