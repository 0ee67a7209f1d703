#include "ColumnTypes.h"

namespace kb::sql {

void ColumnTypes::add(const QString& table, const QString& column, const QString& declaredType) {
    const QString key = table.toLower();
    auto it = tables_.find(key);
    if (it == tables_.end()) {
        it = tables_.insert(key, Table{table, {}, {}});
        order_.append(key);
    }
    const QString columnKey = column.toLower();
    if (!it->types.contains(columnKey))
        it->columns.append(column);
    it->types.insert(columnKey, declaredType);
}

bool ColumnTypes::hasTable(const QString& table) const {
    return tables_.contains(table.toLower());
}

bool ColumnTypes::hasColumn(const QString& table, const QString& column) const {
    const auto it = tables_.constFind(table.toLower());
    return it != tables_.cend() && it->types.contains(column.toLower());
}

QString ColumnTypes::declaredType(const QString& table, const QString& column) const {
    const auto it = tables_.constFind(table.toLower());
    if (it == tables_.cend())
        return {};
    return it->types.value(column.toLower());
}

FieldType ColumnTypes::type(const QString& table, const QString& column) const {
    if (!hasColumn(table, column))
        return FieldType::Unknown;
    return classify(declaredType(table, column));
}

QStringList ColumnTypes::tables() const {
    QStringList names;
    for (const QString& key : order_)
        names.append(tables_.value(key).name);
    return names;
}

QStringList ColumnTypes::columns(const QString& table) const {
    return tables_.value(table.toLower()).columns;
}

QStringList ColumnTypes::tablesWithColumn(const QString& column) const {
    QStringList names;
    const QString key = column.toLower();
    for (const QString& tableKey : order_) {
        const Table& t = *tables_.constFind(tableKey);
        if (t.types.contains(key))
            names.append(t.name);
    }
    return names;
}

// SQLite's own affinity rules decide first (INT before everything), then the
// date-time names, which SQLite itself would read as NUMERIC.
FieldType ColumnTypes::classify(const QString& declaredType) {
    const QString t = declaredType.toUpper();
    if (t.contains(QLatin1String("INT")))
        return FieldType::Integer;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT")))
        return FieldType::Text;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")))
        return FieldType::Float;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return FieldType::DateTime;
    return FieldType::Unknown;
}

} // namespace kb::sql
