#include "Schema.h"

#include "Connection.h"
#include "DbError.h"
#include "Dialect.h"
#include "SqlName.h"

#include <QDir>
#include <algorithm>
#include <stdexcept>

namespace kb::dataset::schema {

namespace {

const QString kDateMask = QStringLiteral("!99/99/00;1;_");
const QString kMonthYear = QStringLiteral("mm.yyyy");
constexpr int kTextLength = 255;

FieldDef id() {
    return {QStringLiteral("ID"), sql::FieldType::Integer, true, 0, {}, {}};
}
FieldDef integer(const char* name) {
    return {QString::fromLatin1(name), sql::FieldType::Integer, false, 0, {}, {}};
}
FieldDef real(const char* name) {
    return {QString::fromLatin1(name), sql::FieldType::Float, false, 0, {}, {}};
}
FieldDef text(const char* name, const QString& mask = {}) {
    return {QString::fromLatin1(name), sql::FieldType::Text, false, kTextLength, mask, {}};
}
FieldDef date(const char* name, const QString& mask, const QString& format) {
    return {QString::fromLatin1(name), sql::FieldType::DateTime, false, 0, mask, format};
}

std::vector<TableDef> makeTables() {
    std::vector<TableDef> t;
    t.push_back({QStringLiteral("Sotr"),
                 {id(), text("FIO"), date("DataR", kDateMask, {}), integer("IDDolznost"), text("Adres"),
                  text("Telefon", QStringLiteral("!\\(999\\)000-0000;1;_")),
                  text("Passport", QStringLiteral("0000 000000;1;_")), text("INN", QStringLiteral("000000000000"))}});
    t.push_back({QStringLiteral("Dolznost"), {id(), text("Nazvanie")}});
    t.push_back({QStringLiteral("Stavka"), {id(), integer("IDSotr"), real("Sum")}});
    t.push_back(
        {QStringLiteral("Premia"), {id(), integer("IDSotr"), date("Data", kDateMask, kMonthYear), text("Premia")}});
    t.push_back({QStringLiteral("OtrChas"), {id(), integer("IDSotr"), integer("Count"), date("Data", {}, kMonthYear)}});
    return t;
}

QString columnDefinition(const FieldDef& f, const ColumnTypeNames& types) {
    if (f.readOnly)
        return types.key;
    switch (f.type) {
    case sql::FieldType::Integer:
        return types.integer;
    case sql::FieldType::Float:
        return types.real;
    case sql::FieldType::DateTime:
        return types.dateTime;
    case sql::FieldType::Text:
    case sql::FieldType::Unknown:
        break;
    }
    return types.text;
}

struct IndexDef {
    QString name;
    QString table;
    QStringList columns;
};

// Every IDSotr, and Sotr.IDDolznost. In the monthly tables (those with a Data)
// the index on IDSotr goes on with Data: a month condition written as a range
// (see the dialect's month ranges) then finds one employee's month in it.
std::vector<IndexDef> indexes() {
    std::vector<IndexDef> all;
    for (const TableDef& t : tables()) {
        for (const FieldDef& f : t.fields) {
            if (f.name != QLatin1String("IDSotr") &&
                !(t.name == QLatin1String("Sotr") && f.name == QLatin1String("IDDolznost")))
                continue;
            QStringList columns{f.name};
            if (f.name == QLatin1String("IDSotr") && t.field(QStringLiteral("Data")))
                columns << QStringLiteral("Data");
            all.push_back({t.name + QLatin1Char('_') + columns.join(QLatin1Char('_')), t.name, columns});
        }
    }
    return all;
}

QString createIndex(const IndexDef& index, bool ifNotExists) {
    QStringList columns;
    for (const QString& c : index.columns)
        columns << sql::quoteName(c);
    return QStringLiteral("CREATE INDEX %1%2 ON %3 (%4);")
        .arg(ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(), sql::quoteName(index.name),
             sql::quoteName(index.table), columns.join(QStringLiteral(", ")));
}

} // namespace

const FieldDef* TableDef::field(const QString& fieldName) const {
    for (const FieldDef& f : fields) {
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

const std::vector<TableDef>& tables() {
    static const std::vector<TableDef> all = makeTables();
    return all;
}

const TableDef& table(const QString& name) {
    for (const TableDef& t : tables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    }
    throw std::out_of_range("unknown table " + name.toStdString());
}

QString tableStatements(const ColumnTypeNames& types) {
    QStringList statements;
    for (const TableDef& t : tables()) {
        QStringList columns;
        for (const FieldDef& f : t.fields)
            columns.append(sql::quoteName(f.name) + QLatin1Char(' ') + columnDefinition(f, types));
        statements.append(
            QStringLiteral("CREATE TABLE %1 (%2);").arg(sql::quoteName(t.name), columns.join(QStringLiteral(", "))));
    }
    return statements.join(QLatin1Char('\n'));
}

QString createStatements() {
    const ColumnTypeNames types{QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"), QStringLiteral("INTEGER"),
                                QStringLiteral("REAL"), QStringLiteral("DATETIME"),
                                QStringLiteral("TEXT COLLATE ") + QString::fromLatin1(dialect::kCollation)};
    return tableStatements(types) + QLatin1Char('\n') + indexStatements();
}

QString indexStatements() {
    QStringList statements;
    for (const IndexDef& index : indexes())
        statements.append(createIndex(index, false));
    return statements.join(QLatin1Char('\n'));
}

void addMissingIndexes(sql::Connection& connection) {
    if (connection.isServer())
        return; // a server's schema is made whole by its creation
    const sql::ColumnTypes& types = connection.columnTypes();
    sql::Statement exists = connection.prepareNative(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?1 COLLATE NOCASE"));
    QStringList missing;
    for (const IndexDef& index : indexes()) {
        const bool hasColumns = std::all_of(index.columns.begin(), index.columns.end(),
                                            [&](const QString& c) { return types.hasColumn(index.table, c); });
        exists.bind(1, sql::Value(index.name));
        const bool present = exists.step() && exists.column(0).toInt() > 0;
        exists.reset(); // a reading statement left open would hold the schema the index changes
        if (hasColumns && !present)
            missing << createIndex(index, true);
    }
    if (missing.isEmpty())
        return;
    // Another process may be writing: the connection's busy timeout waits for it. An index that still cannot be
    // made (the file busy, read-only, full) is left for the next opening; the file works without it, only slower.
    try {
        connection.execute(missing.join(QLatin1Char('\n')));
    } catch (const sql::DbError&) {
    }
}

QStringList keyProblems(const sql::Connection& connection) {
    QStringList problems;
    sql::Statement key = connection.prepareNative(
        connection.isServer()
            ? QStringLiteral("SELECT (SELECT count(*) FROM pg_index i JOIN pg_attribute a ON a.attrelid = i.indrelid "
                             "AND a.attnum = i.indkey[0] WHERE i.indrelid = to_regclass(quote_ident(?1)) AND "
                             "i.indisprimary AND i.indnkeyatts = 1 AND a.attname = 'ID'), 1")
            : QStringLiteral("SELECT (SELECT upper(type) = 'INTEGER' AND pk = 1 FROM pragma_table_info(?1) WHERE name "
                             "= 'ID' COLLATE NOCASE), (SELECT count(*) FROM pragma_table_info(?1) WHERE pk > 0)"));
    for (const TableDef& t : tables()) {
        if (!connection.columnTypes().hasTable(t.name))
            continue;
        key.reset();
        key.bind(1, sql::Value(t.name));
        if (key.step() && key.column(0).kind() == sql::Value::Kind::Integer && key.column(0).toInt() == 1 &&
            key.column(1).toInt() == 1)
            continue;
        problems << QStringLiteral("Таблица %1: поле ID не является её ключом (INTEGER PRIMARY KEY), записи с "
                                   "одинаковым ID нельзя изменить по отдельности")
                        .arg(t.name);
    }
    return problems;
}

void requireKeys(const sql::Connection& connection) {
    const QStringList problems = keyProblems(connection);
    if (!problems.isEmpty())
        throw sql::DbError(
            QStringLiteral("База данных %1 не подходит программе. %2").arg(connection.displayName(), problems.first()));
}

} // namespace kb::dataset::schema
