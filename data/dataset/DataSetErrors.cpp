#include "DataSetErrors.h"

namespace kb::dataset::errors {

sql::DbError notAnInteger(const QString& shown, const QString& field) {
    return sql::DbError(QStringLiteral("'%1' is not a valid integer value for field '%2'").arg(shown, field));
}

sql::DbError notAFloat(const QString& shown, const QString& field) {
    return sql::DbError(QStringLiteral("'%1' is not a valid floating point value for field '%2'").arg(shown, field));
}

sql::DbError notADate(const QString& shown, const QString& field) {
    return sql::DbError(QStringLiteral("'%1' не является правильной датой для поля '%2'").arg(shown, field));
}

sql::DbError readOnlyField(const QString& field) {
    return sql::DbError(QStringLiteral("Поле '%1' доступно только для чтения").arg(field));
}

sql::DbError notEditing(const QString& table, const QString& field) {
    return sql::DbError(QStringLiteral("Таблица '%1' не в режиме редактирования или вставки: поле '%2' изменить нельзя")
                            .arg(table, field));
}

sql::DbError noTableField(int column, const QString& table) {
    return sql::DbError(QStringLiteral("Поля с номером %1 нет в таблице '%2'").arg(column).arg(table));
}

sql::DbError noQueryField(int column, qsizetype fieldCount) {
    return sql::DbError(QStringLiteral("Поля с номером %1 нет: в запросе %2 полей").arg(column).arg(fieldCount));
}

} // namespace kb::dataset::errors
