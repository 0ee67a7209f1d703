#include "TableRows.h"

#include "DateTimeText.h"
#include "SqlName.h"

#include <QStringList>
#include <bit>

namespace kb::dataset::rows {

namespace {

QString fieldList(const schema::TableDef& table) {
    QStringList names;
    for (const schema::FieldDef& f : table.fields)
        names << sql::quoteName(f.name);
    return names.join(QStringLiteral(", "));
}

} // namespace

QString insertStatement(const schema::TableDef& table) {
    QStringList marks;
    for (size_t i = 0; i < table.fields.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(sql::quoteName(table.name), fieldList(table), marks.join(QStringLiteral(", ")));
}

QString selectAll(const schema::TableDef& table) {
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY \"ID\"").arg(fieldList(table), sql::quoteName(table.name));
}

QString selectById(const schema::TableDef& table) {
    return QStringLiteral("SELECT %1 FROM %2 WHERE \"ID\" = ?").arg(fieldList(table), sql::quoteName(table.name));
}

std::vector<sql::FieldType> fieldTypes(const schema::TableDef& table) {
    std::vector<sql::FieldType> types;
    for (const schema::FieldDef& f : table.fields)
        types.push_back(f.type);
    return types;
}

bool sameValue(const sql::Value& a, const sql::Value& b) {
    if (a.kind() == sql::Value::Kind::Float && b.kind() == sql::Value::Kind::Float)
        return std::bit_cast<quint64>(a.toDouble()) == std::bit_cast<quint64>(b.toDouble());
    return a == b;
}

int firstDifference(const std::vector<sql::Value>& a, const std::vector<sql::Value>& b) {
    for (size_t i = 0; i < a.size(); ++i) {
        if (!sameValue(a[i], b.at(i)))
            return int(i);
    }
    return -1;
}

QString quoted(const sql::Value& value) {
    switch (value.kind()) {
    case sql::Value::Kind::Null:
        return QStringLiteral("NULL");
    case sql::Value::Kind::Integer:
        return QString::number(value.toInt());
    case sql::Value::Kind::Float:
        return QString::number(value.toDouble(), 'g', 17);
    case sql::Value::Kind::Text:
        return QLatin1Char('"') + value.text() + QLatin1Char('"');
    case sql::Value::Kind::DateTime: {
        // The stored form keeps whole seconds; a fraction is shown, so that a difference in it can be seen.
        const QDateTime dt = value.toDateTime();
        const int msec = dt.time().msec();
        return sql::datetime::toIso(dt) + (msec ? QStringLiteral(".%1").arg(msec, 3, 10, QLatin1Char('0')) : QString());
    }
    }
    return {};
}

} // namespace kb::dataset::rows
