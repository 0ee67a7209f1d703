#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>
#include <vector>

// The five tables of the database: their fields with type, read-only flag,
// edit mask and display format, and the SQL that creates them.
namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::dataset {} // namespace kb::dataset

namespace kb::dataset::schema {

struct FieldDef {
    QString name;
    sql::FieldType type;
    bool readOnly = false; // the auto-numbered ID
    int maxLength = 0;     // text fields: at most this many characters; 0 for other types
    QString editMask;      // edit-mask notation, see EditMask.h; empty for none
    QString displayFormat; // "mm.yyyy" or empty
};

struct TableDef {
    QString name;
    std::vector<FieldDef> fields;                     // ID first
    const FieldDef* field(const QString& name) const; // case-insensitive; nullptr when absent
};

// Sotr, Dolznost, Stavka, Premia, OtrChas.
const std::vector<TableDef>& tables();
const TableDef& table(const QString& name); // throws std::out_of_range when unknown

// How an engine writes each kind of column in CREATE TABLE.
struct ColumnTypeNames {
    QString key; // the auto-numbered ID
    QString integer;
    QString real;
    QString dateTime;
    QString text;
};
// The CREATE TABLE statements of the five tables, in the engine's column types.
QString tableStatements(const ColumnTypeNames& types);
// CREATE TABLE and CREATE INDEX statements of the whole schema, for a file.
QString createStatements();
// The CREATE INDEX statements alone.
QString indexStatements();
// The same schema for a server: the collations, the dialect's functions, the
// tables (ID an identity that keeps given values), the indexes and the
// schema's version.
QString serverCreateStatements();
// Creates the schema on the connection's engine and reloads its column types.
void createSchema(sql::Connection& connection);
// On a server: the dialect's functions that are missing, one message each.
QStringList serverProblems(const sql::Connection& connection);

// Creates the schema's indexes that a file made by an earlier version lacks
// (on tables and columns it has); changes no stored value. Never throws for an
// index that cannot be made now: it is tried again at the next opening.
void addMissingIndexes(sql::Connection& connection);

// The tables of the schema present in the database whose ID is not their key
// (an INTEGER PRIMARY KEY in a file, the primary key on a server, so unique): one message naming the table each.
// Editing a record finds it by ID; with two rows of one ID, saving one changes both.
QStringList keyProblems(const sql::Connection& connection);
// Throws DbError with the first of keyProblems(), naming the file.
void requireKeys(const sql::Connection& connection);

} // namespace kb::dataset::schema
