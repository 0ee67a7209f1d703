#pragma once

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::dataset::schema {

// After rows were inserted with given IDs, makes the next auto-numbered ID of
// each of the five tables go above the greatest one stored.
void continueKeys(sql::Connection& connection);

} // namespace kb::dataset::schema
