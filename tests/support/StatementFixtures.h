#pragma once

#include "GridRequest.h"
#include "TestSupport.h"

#include <QDateTime>

namespace kb {
class Query;
}

Q_DECLARE_METATYPE(kb::reports::GridRequest)

namespace kbtest {

// A temporary database with the schema whose connection does not wait for the
// disk at each commit: the file is thrown away after the test, and the tests
// that fill it row by row run many times faster.
class StatementDb : public TempDatabase {
public:
    StatementDb();
};

// Sends a request to a query as the grid query run does: close, clear the
// lines, add each line, bind every parameter by name in order (a date-time
// binding sets the data type first), open. Throws what the query throws.
void runRequest(kb::Query& query, const kb::reports::GridRequest& request);

// A wall-clock date-time as the database layer carries it.
QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

} // namespace kbtest
