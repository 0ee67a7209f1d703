#include "DatabaseCheck.h"

#include "Connection.h"
#include "DatabaseName.h"
#include "DbError.h"
#include "Dialect.h"
#include "Schema.h"

#include <QDir>
#include <QFileInfo>

namespace kb::tools {

namespace {

QString typeName(sql::FieldType type) {
    switch (type) {
    case sql::FieldType::Integer:
        return QStringLiteral("целое число");
    case sql::FieldType::Float:
        return QStringLiteral("число с плавающей точкой");
    case sql::FieldType::Text:
        return QStringLiteral("текст");
    case sql::FieldType::DateTime:
        return QStringLiteral("дата и время");
    case sql::FieldType::Unknown:
        break;
    }
    return QStringLiteral("неизвестный тип");
}

QStringList schemaProblems(const sql::ColumnTypes& types) {
    QStringList problems;
    for (const dataset::schema::TableDef& table : dataset::schema::tables()) {
        if (!types.hasTable(table.name)) {
            problems << QStringLiteral("Нет таблицы %1").arg(table.name);
            continue;
        }
        for (const dataset::schema::FieldDef& field : table.fields) {
            if (!types.hasColumn(table.name, field.name)) {
                problems << QStringLiteral("Нет поля %1.%2").arg(table.name, field.name);
                continue;
            }
            const QString declared = types.declaredType(table.name, field.name);
            if (sql::ColumnTypes::classify(declared) != field.type)
                problems << QStringLiteral("Поле %1.%2 объявлено как \"%3\", а должно быть типа \"%4\"")
                                .arg(table.name, field.name, declared, typeName(field.type));
        }
    }
    return problems;
}

} // namespace

QStringList checkDatabase(const QString& fileName) {
    if (sql::isServerName(fileName)) {
        try {
            // Opening checks the schema's version; the rest as for a file, and the dialect's functions.
            const sql::Connection connection(fileName, sql::Connection::Mode::ReadOnly);
            connection.checkIntegrity();
            return schemaProblems(connection.columnTypes()) + dataset::schema::keyProblems(connection) +
                   dataset::schema::serverProblems(connection);
        } catch (const sql::DbError& e) {
            return {QString::fromUtf8(e.what())};
        }
    }
    const QFileInfo info(fileName);
    if (!info.exists())
        return {info.isSymLink()
                    ? QStringLiteral("Файл %1 - ссылка на несуществующий файл %2").arg(fileName, info.symLinkTarget())
                    : QStringLiteral("Файл %1 не найден").arg(fileName)};
    // A journal beside the file would be applied to it by the next opening; the check only says so, and reads the
    // file as it lies (a diagnosis never writes).
    QStringList problems;
    for (const char* suffix : {"-journal", "-wal"}) {
        const QFileInfo journal(info.canonicalFilePath() + QLatin1String(suffix));
        if (journal.isFile() && !journal.isSymLink() && journal.size() > 0)
            problems << QStringLiteral("Рядом с файлом лежит журнал незавершённой записи %1: при следующем открытии "
                                       "базы SQLite применит его к файлу (отменит или допишет прерванные изменения; "
                                       "журнал другой базы данных испортит эту). Журнал не применён, файл проверен "
                                       "в том виде, в каком лежит")
                            .arg(QDir::toNativeSeparators(journal.filePath()));
    }
    try {
        sql::Connection connection(fileName, problems.isEmpty() ? sql::Connection::Mode::ReadOnly
                                                                : sql::Connection::Mode::Snapshot);
        dialect::install(connection);
        connection.checkIntegrity();
        // Read the declared types afresh: the schema is only trusted after the integrity check.
        connection.reloadColumnTypes();
        return problems + schemaProblems(connection.columnTypes()) + dataset::schema::keyProblems(connection);
    } catch (const sql::DbError& e) {
        return problems << QString::fromUtf8(e.what());
    }
}

} // namespace kb::tools
