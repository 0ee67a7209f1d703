#include "Dialect.h"

#include "Connection.h"
#include "DbError.h"
#include "DialectRegistration.h"

#include <memory>

namespace kb::dialect {

void install(sql::Connection& connection) {
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
    return connection.prepareNative(rewrite(sql, connection.columnTypes()));
}

} // namespace kb::dialect
