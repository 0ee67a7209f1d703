#pragma once

#include "Value.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace kb::sql {

// The declared type of every column of every table of an open database,
// looked up case-insensitively, as SQL names are.
class ColumnTypes {
public:
    void add(const QString& table, const QString& column, const QString& declaredType);
    bool hasTable(const QString& table) const;
    bool hasColumn(const QString& table, const QString& column) const;
    // The declared type as written in the schema ("TEXT", "DATETIME", ...), empty when unknown.
    QString declaredType(const QString& table, const QString& column) const;
    // The type class of a declared type: TEXT/CHAR/CLOB -> Text, INT -> Integer,
    // REAL/FLOA/DOUB -> Float, DATE/TIME -> DateTime.
    FieldType type(const QString& table, const QString& column) const;
    QStringList tables() const;
    QStringList columns(const QString& table) const; // in schema order
    // Tables that have a column of that name.
    QStringList tablesWithColumn(const QString& column) const;

    static FieldType classify(const QString& declaredType);

private:
    struct Table {
        QString name;
        QStringList columns;
        QHash<QString, QString> types; // lower-case column name -> declared type
    };
    QHash<QString, Table> tables_; // lower-case table name
    QStringList order_;
};

} // namespace kb::sql
