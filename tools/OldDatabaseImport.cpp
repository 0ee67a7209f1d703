#include "OldDatabaseImport.h"

#include "Connection.h"
#include "DatabaseCopy.h"
#include "DatabaseName.h"
#include "DemoDatabase.h"
#include "ImportValues.h"
#include "KeyContinuation.h"
#include "Schema.h"
#include "SqlName.h"
#include "TableRows.h"

#include <QFile>
#include <algorithm>
#include <stdexcept>

namespace kb::tools {

namespace {

[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

// Where a table of the schema comes from in the old database.
struct TableSource {
    const dataset::schema::TableDef* table;
    QString oldName;
    QStringList oldColumns; // in the order of table->fields
    qint64 read = 0, written = 0;
};

QString findName(const QStringList& names, const QString& wanted) {
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

// Checks that old has every table and field of the schema with a fitting type; notes what it has besides.
std::vector<TableSource> plan(const jet::OldDatabase& old, QStringList& notes) {
    const QStringList oldTables = old.tables();
    std::vector<TableSource> sources;
    for (const dataset::schema::TableDef& table : dataset::schema::tables()) {
        TableSource source{&table, findName(oldTables, table.name), {}};
        if (source.oldName.isEmpty())
            fail(QStringLiteral("В базе данных старой программы нет таблицы %1").arg(table.name));
        const std::vector<jet::Column> columns = old.columns(source.oldName);
        QStringList columnNames;
        for (const jet::Column& c : columns)
            columnNames << c.name;
        for (const dataset::schema::FieldDef& field : table.fields) {
            const QString name = findName(columnNames, field.name);
            if (name.isEmpty())
                fail(QStringLiteral("В базе данных старой программы нет поля %1.%2").arg(table.name, field.name));
            const jet::Column& column = columns[size_t(columnNames.indexOf(name))];
            if (!import::fits(field, column.type))
                fail(QStringLiteral("Поле %1.%2 базы данных старой программы имеет тип \"%3\", который не подходит "
                                    "для этого поля")
                         .arg(table.name, field.name, jet::typeName(column.type)));
            source.oldColumns << name;
        }
        for (const QString& name : columnNames) {
            if (!table.field(name))
                notes << QStringLiteral("Поле %1.%2 не перенесено: в программе нет такого поля").arg(table.name, name);
        }
        sources.push_back(std::move(source));
    }
    for (const QString& name : oldTables) {
        const bool known = std::any_of(
            dataset::schema::tables().begin(), dataset::schema::tables().end(),
            [&](const dataset::schema::TableDef& t) { return t.name.compare(name, Qt::CaseInsensitive) == 0; });
        if (!known)
            notes << QStringLiteral("Таблица %1 не перенесена: в программе нет такой таблицы").arg(name);
    }
    return sources;
}

// The row's values as the new file is to hold them; notes name what was refused or changed.
std::vector<sql::Value> converted(const TableSource& source, const jet::Row& row, QStringList* notes) {
    const dataset::schema::TableDef& table = *source.table;
    std::vector<sql::Value> values;
    for (size_t i = 0; i < table.fields.size(); ++i) {
        import::Converted c = import::convert(table.fields[i], row[i]);
        if (i == 0 && c.value.kind() != sql::Value::Kind::Integer)
            fail(QStringLiteral("В таблице %1 базы данных старой программы есть строка без номера ID").arg(table.name));
        if (notes && !c.note.isEmpty())
            *notes << QStringLiteral("%1, ID %2, поле %3: %4")
                          .arg(table.name)
                          .arg(values.front().toInt())
                          .arg(table.fields[i].name, c.note);
        values.push_back(std::move(c.value));
    }
    return values;
}

void copy(const jet::OldDatabase& old, TableSource& source, sql::Connection& connection, QStringList& notes) {
    sql::Statement insert = connection.prepareNative(dataset::rows::insertStatement(*source.table));
    old.readRows(source.oldName, source.oldColumns, [&](const jet::Row& row) {
        ++source.read;
        const std::vector<sql::Value> values = converted(source, row, &notes);
        for (size_t i = 0; i < values.size(); ++i)
            insert.bind(int(i) + 1, values[i]);
        insert.step();
        insert.reset();
        source.written += connection.changes();
    });
}

// Reads every row of old again and finds it, value for value, in the new file;
// and no more rows there than were read.
void verify(const jet::OldDatabase& old, const TableSource& source, const sql::Connection& connection) {
    const dataset::schema::TableDef& table = *source.table;
    const std::vector<sql::FieldType> types = dataset::rows::fieldTypes(table);
    sql::Statement select = connection.prepareNative(dataset::rows::selectById(table));
    qint64 compared = 0;
    old.readRows(source.oldName, source.oldColumns, [&](const jet::Row& row) {
        const std::vector<sql::Value> expected = converted(source, row, nullptr);
        select.reset();
        select.bind(1, expected.front());
        if (!select.step())
            fail(QStringLiteral("Проверка новой базы данных не пройдена: в таблице %1 нет строки с ID %2")
                     .arg(table.name)
                     .arg(expected.front().toInt()));
        const std::vector<sql::Value> stored = select.row(types);
        for (size_t i = 0; i < expected.size(); ++i) {
            if (!dataset::rows::sameValue(expected[i], stored[i]))
                fail(QStringLiteral("Проверка новой базы данных не пройдена: %1, ID %2, поле %3: в старой базе %4, "
                                    "в новой %5")
                         .arg(table.name)
                         .arg(expected.front().toInt())
                         .arg(table.fields[i].name, dataset::rows::quoted(expected[i]),
                              dataset::rows::quoted(stored[i])));
        }
        ++compared;
    });
    sql::Statement count =
        connection.prepareNative(QStringLiteral("SELECT count(*) FROM %1").arg(sql::quoteName(table.name)));
    count.step();
    if (count.column(0).toInt() != compared)
        fail(QStringLiteral("Проверка новой базы данных не пройдена: в таблице %1 строк %2, а в старой базе %3")
                 .arg(table.name)
                 .arg(count.column(0).toInt())
                 .arg(compared));
}

} // namespace

void importOldDatabase(const jet::OldDatabase& old, const QString& target, std::ostream& out) {
    QStringList notes;
    std::vector<TableSource> sources = plan(old, notes);
    const auto fill = [&](sql::Connection& connection) {
        for (TableSource& source : sources)
            copy(old, source, connection, notes);
        dataset::schema::continueKeys(connection);
    };
    const auto check = [&](const sql::Connection& connection) {
        for (const TableSource& source : sources)
            verify(old, source, connection);
    };
    if (sql::isServerName(target)) {
        // An existing database: compared before the commit, so that a difference leaves it empty.
        sql::Connection connection(target);
        dataset::writeIntoEmpty(connection, [&](sql::Connection& c) {
            fill(c);
            check(c);
        });
    } else
        createDatabase(target, fill, check);
    for (const TableSource& source : sources)
        out << QStringLiteral("%1: прочитано строк: %2, записано: %3")
                   .arg(source.table->name)
                   .arg(source.read)
                   .arg(source.written)
                   .toStdString()
            << '\n';
    for (const QString& note : notes)
        out << note.toStdString() << '\n';
}

} // namespace kb::tools
