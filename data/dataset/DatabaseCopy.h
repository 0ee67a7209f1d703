#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace kb::sql {
class Connection;
} // namespace kb::sql

// Copying the five tables from one database into another, of either engine.
namespace kb::dataset {

struct CopiedTable {
    QString name;
    qint64 rows = 0;
};

// Throws DbError naming the database and the first table of the schema in it
// that holds a row: a copy goes into an empty database only.
void requireEmpty(const sql::Connection& target);

// Inserts every row of the five tables of source into target, in ID order,
// every ID and value kept as read, continues target's keys above them, then
// reads both again and compares every row and value. The caller holds
// target's write transaction and has made sure target is empty, and holds a
// sql::ReadSnapshot of source, so that the copy is of one state of it (on a
// server as on a file, whatever other users commit meanwhile). Throws
// DbError naming table, ID and field when the copy differs from source.
// Returns the rows copied per table, in the schema's order.
std::vector<CopiedTable> copyRows(sql::Connection& source, sql::Connection& target);

// Runs write in one write transaction on target, an existing database holding
// the schema, after making sure in it that target is empty; commits when write
// returns. When anything throws, nothing is written.
void writeIntoEmpty(sql::Connection& target, const std::function<void(sql::Connection&)>& write);

// The whole copy into an existing database holding the schema: copyRows in a
// read snapshot of source, through writeIntoEmpty, so that a copy that differs
// leaves nothing behind.
std::vector<CopiedTable> copyDatabase(sql::Connection& source, sql::Connection& target);

} // namespace kb::dataset
