#pragma once

#include <QString>
#include <functional>

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::tools {

// Makes a new database file with the program's schema and lets fill add rows,
// all in one transaction, under a temporary name beside fileName; the file
// must pass `check` and verify (given the file opened read-only) before it
// takes the name fileName. An existing file (or link) is never touched: that
// is an error. When anything fails, the half-made file is removed again.
void createDatabase(const QString& fileName, const std::function<void(sql::Connection&)>& fill = {},
                    const std::function<void(const sql::Connection&)>& verify = {});

// A new database with the schema and no rows.
void createEmptyDatabase(const QString& fileName);

// A new database holding a small culture department: positions, a dozen
// employees with their personal data, salary rates, and bonuses and days
// worked for every month of 2013 and 2014. Always the same content.
void createDemoDatabase(const QString& fileName);

} // namespace kb::tools
