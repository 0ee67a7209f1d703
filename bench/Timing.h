#pragma once

#include "Value.h"

#include <QString>
#include <functional>
#include <vector>

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::bench {

struct Timing {
    double median; // wall-clock milliseconds
    double best;
    double cpu; // median processor time in milliseconds: steadier on a busy machine
    int rows;
};

// Runs the job once to warm the caches, then `runs` times. The untimed
// cleanup runs after each run (e.g. freeing what the job built).
Timing measure(int runs, const std::function<int()>& job, const std::function<void()>& cleanup = {});

// Prepares, binds ?1.. and fetches every value, as the query object does.
int runNative(const sql::Connection& connection, const QString& sql, const std::vector<sql::Value>& params = {});

void printRow(const char* what, const Timing& t, const char* target, const char* counted = "rows");
void printRatio(const char* what, const Timing& ours, const Timing& native, const char* target);

} // namespace kb::bench
