#pragma once

#include <QString>
#include <memory>

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::bench {

// The database of a department of `employees` people with one rate each and a
// bonus and a days-worked row for every month of 2005 to 2014. Generated once
// into the folder and reused by later runs; returns the file name.
QString benchDatabase(const QString& folder, int employees);

// Opens the database of that name (as benchDatabase() gives it) with the
// dialect installed. The figures are taken through this one connection, so the
// same measurements can run on whatever database the name stands for.
std::unique_ptr<sql::Connection> openBenchDatabase(const QString& name);

// The years the generated data covers.
inline constexpr int kFirstYear = 2005;
inline constexpr int kLastYear = 2014;

} // namespace kb::bench
