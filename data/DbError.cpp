#include "DbError.h"

#include <QString>

namespace kb {

DbError::DbError(const QString& message, int sqliteCode)
    : std::runtime_error(message.toStdString()), code_(sqliteCode) {}

DbError::DbError(const std::string& message, int sqliteCode) : std::runtime_error(message), code_(sqliteCode) {}

} // namespace kb
