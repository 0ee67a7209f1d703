#include "DatabaseCheck.h"

#include "Connection.h"
#include "DbError.h"
#include "Dialect.h"
#include "Schema.h"

#include <QFileInfo>

namespace kb::tools {

namespace {

QString typeName(FieldType type) {
    switch (type) {
    case FieldType::Integer:
        return QStringLiteral("целое число");
    case FieldType::Float:
        return QStringLiteral("число с плавающей точкой");
    case FieldType::Text:
        return QStringLiteral("текст");
    case FieldType::DateTime:
        return QStringLiteral("дата и время");
    case FieldType::Unknown:
        break;
    }
    return QStringLiteral("неизвестный тип");
}

QStringList schemaProblems(const ColumnTypes& types) {
    QStringList problems;
    for (const schema::TableDef& table : schema::tables()) {
        if (!types.hasTable(table.name)) {
            problems << QStringLiteral("Нет таблицы %1").arg(table.name);
            continue;
        }
        for (const schema::FieldDef& field : table.fields) {
            if (!types.hasColumn(table.name, field.name)) {
                problems << QStringLiteral("Нет поля %1.%2").arg(table.name, field.name);
                continue;
            }
            const QString declared = types.declaredType(table.name, field.name);
            if (ColumnTypes::classify(declared) != field.type)
                problems << QStringLiteral("Поле %1.%2 объявлено как \"%3\", а должно быть типа \"%4\"")
                                .arg(table.name, field.name, declared, typeName(field.type));
        }
    }
    return problems;
}

} // namespace

QStringList checkDatabase(const QString& fileName) {
    if (!QFileInfo(fileName).isFile())
        return {QStringLiteral("Файл %1 не найден").arg(fileName)};
    try {
        Connection connection(fileName, Connection::Mode::OpenExisting);
        dialect::install(connection);
        connection.checkIntegrity();
        // Read the declared types afresh: the schema is only trusted after the integrity check.
        connection.reloadColumnTypes();
        return schemaProblems(connection.columnTypes());
    } catch (const DbError& e) {
        return {QString::fromUtf8(e.what())};
    }
}

} // namespace kb::tools
