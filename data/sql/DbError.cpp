#include "DbError.h"

#include <QString>
#include <sqlite3.h>

namespace kb::sql {

DbError::DbError(const QString& message, int sqliteCode)
    : std::runtime_error(message.toStdString()), code_(sqliteCode) {}

DbError::DbError(const std::string& message, int sqliteCode) : std::runtime_error(message), code_(sqliteCode) {}

DbError busyWriting(const QString& database, const DbError& cause) {
    return DbError(
        QStringLiteral("База данных %1 занята другим пользователем или программой: изменения не записаны (%2)")
            .arg(database, QString::fromUtf8(cause.what())),
        cause.sqliteCode());
}

bool DbError::isBusy() const noexcept {
    return code_ == SQLITE_BUSY || code_ == SQLITE_LOCKED;
}

bool DbError::isDamaged() const noexcept {
    return code_ == SQLITE_CORRUPT || code_ == SQLITE_NOTADB;
}

bool DbError::isDiskFull() const noexcept {
    return (code_ & 0xff) == SQLITE_FULL;
}

} // namespace kb::sql
