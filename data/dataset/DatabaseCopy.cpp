#include "DatabaseCopy.h"

#include "Connection.h"
#include "DbError.h"
#include "KeyContinuation.h"
#include "Schema.h"
#include "SqlName.h"
#include "TableRows.h"
#include "Transaction.h"

#include <QDir>
#include <optional>

namespace kb::dataset {

namespace {

QString shown(const sql::Connection& connection) {
    return QDir::toNativeSeparators(connection.fileName());
}

// Names the source: a new file's copy has only a temporary name yet.
[[noreturn]] void differs(const sql::Connection& source, const QString& what) {
    throw sql::DbError(
        QStringLiteral("Копия базы данных %1 не совпадает с ней: %2; ничего не записано").arg(shown(source), what));
}

qint64 insertAll(const schema::TableDef& table, sql::Connection& source, sql::Connection& target) {
    const std::vector<sql::FieldType> types = rows::fieldTypes(table);
    sql::Statement select = source.prepareNative(rows::selectAll(table));
    sql::Statement insert = target.prepareNative(rows::insertStatement(table));
    qint64 count = 0;
    while (select.step()) {
        const std::vector<sql::Value> row = select.row(types);
        for (size_t i = 0; i < row.size(); ++i)
            insert.bind(int(i) + 1, row[i]);
        insert.step();
        insert.reset();
        ++count;
    }
    return count;
}

// Walks the rows of both in ID order side by side.
void compareAll(const schema::TableDef& table, sql::Connection& source, sql::Connection& target) {
    const std::vector<sql::FieldType> types = rows::fieldTypes(table);
    sql::Statement original = source.prepareNative(rows::selectAll(table));
    sql::Statement copy = target.prepareNative(rows::selectAll(table));
    std::optional<std::vector<sql::Value>> a, b;
    const auto next = [&](sql::Statement& s) { return s.step() ? std::optional(s.row(types)) : std::nullopt; };
    for (a = next(original), b = next(copy); a || b;) {
        const qint64 idA = a ? a->front().toInt() : 0, idB = b ? b->front().toInt() : 0;
        if (a && (!b || idB > idA))
            differs(source, QStringLiteral("в таблице %1 нет строки с ID %2").arg(table.name).arg(idA));
        if (!a || idA > idB)
            differs(source, QStringLiteral("в таблице %1 лишняя строка с ID %2").arg(table.name).arg(idB));
        if (const int field = rows::firstDifference(*a, *b); field >= 0)
            differs(source, QStringLiteral("таблица %1, ID %2, поле %3: в исходной %4, в копии %5")
                                .arg(table.name)
                                .arg(idA)
                                .arg(table.fields[size_t(field)].name, rows::quoted((*a)[size_t(field)]),
                                     rows::quoted((*b)[size_t(field)])));
        a = next(original);
        b = next(copy);
    }
}

} // namespace

void requireEmpty(const sql::Connection& target) {
    for (const schema::TableDef& table : schema::tables()) {
        sql::Statement any =
            target.prepareNative(QStringLiteral("SELECT \"ID\" FROM %1 LIMIT 1").arg(sql::quoteName(table.name)));
        if (any.step())
            throw sql::DbError(QStringLiteral("База данных %1 не пуста: в таблице %2 есть строки. Копировать можно "
                                              "только в пустую базу данных; ничего не записано")
                                   .arg(shown(target), table.name));
    }
}

std::vector<CopiedTable> copyRows(sql::Connection& source, sql::Connection& target) {
    std::vector<CopiedTable> copied;
    for (const schema::TableDef& table : schema::tables())
        copied.push_back({table.name, insertAll(table, source, target)});
    schema::continueKeys(target);
    for (const schema::TableDef& table : schema::tables())
        compareAll(table, source, target);
    return copied;
}

void writeIntoEmpty(sql::Connection& target, const std::function<void(sql::Connection&)>& write) {
    sql::Transaction transaction(target);
    if (target.isServer()) {
        // A server's transaction holds no write lock of the whole database as a file's BEGIN IMMEDIATE does: the
        // tables are locked against every other writer (who waits, or is told the database is busy), so that rows
        // another saves meanwhile cannot end up beside the copy's.
        QStringList tables;
        for (const schema::TableDef& table : schema::tables())
            tables << sql::quoteName(table.name);
        try {
            target.execute(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(tables.join(u", ")));
        } catch (const sql::DbError& e) {
            if (!e.isBusy())
                throw;
            throw sql::DbError(QStringLiteral("База данных %1 занята: в неё сейчас пишет другой пользователь или "
                                              "программа; ничего не записано")
                                   .arg(shown(target)),
                               e.sqliteCode());
        }
    }
    requireEmpty(target);
    write(target);
    transaction.commit();
}

std::vector<CopiedTable> copyDatabase(sql::Connection& source, sql::Connection& target) {
    const sql::ReadSnapshot snapshot(source);
    std::vector<CopiedTable> copied;
    writeIntoEmpty(target, [&](sql::Connection& connection) { copied = copyRows(source, connection); });
    return copied;
}

} // namespace kb::dataset
