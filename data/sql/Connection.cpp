#include "Connection.h"

#include "DatabaseName.h"
#include "pg/PgConnection.h"
#include "sqlite/SqliteConnection.h"

namespace kb::sql {

Connection::Connection(const QString& name, Mode mode, int busyTimeoutMs) {
    if (isServerName(name)) {
        engine_ = std::make_unique<PgConnection>(name, mode, busyTimeoutMs);
        name_ = engine_->displayName();
    } else {
        auto file = std::make_unique<SqliteConnection>(name, mode, busyTimeoutMs);
        sqlite_ = file->handle();
        name_ = file->fileName();
        engine_ = std::move(file);
    }
    columnTypes_ = engine_->readColumnTypes();
}

Connection::~Connection() = default;

Statement Connection::prepareNative(const QString& sql) const {
    return Statement(engine_->prepare(sql), sql);
}

void Connection::execute(const QString& sql) {
    engine_->execute(sql);
}

void Connection::reloadColumnTypes() {
    columnTypes_ = engine_->readColumnTypes();
}

void Connection::checkIntegrity(bool quick) const {
    engine_->checkIntegrity(quick);
}

int Connection::changes() const {
    return engine_->changes();
}

QString Connection::displayName() const {
    return engine_->displayName();
}

} // namespace kb::sql
