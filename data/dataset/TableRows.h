#pragma once

#include "Schema.h"
#include "Value.h"

#include <QString>
#include <vector>

// The rows of a table of the schema as a copy of a database writes, reads
// back and compares them: every field, ID first, in the SQL every engine reads.
namespace kb::dataset::rows {

// Inserts a row with every field, ID included; the values bound in field order.
QString insertStatement(const schema::TableDef& table);
// Every field of every row, in ID order.
QString selectAll(const schema::TableDef& table);
// Every field of the row with the ID bound first.
QString selectById(const schema::TableDef& table);
// The fields' types in field order, for reading a row of these statements.
std::vector<sql::FieldType> fieldTypes(const schema::TableDef& table);

// Equal as stored: doubles bit for bit, date-times to the millisecond.
bool sameValue(const sql::Value& a, const sql::Value& b);
// The index of the first field in which two rows of one table differ; -1 when they are the same.
int firstDifference(const std::vector<sql::Value>& a, const std::vector<sql::Value>& b);
// A value as a report quotes it.
QString quoted(const sql::Value& value);

} // namespace kb::dataset::rows
