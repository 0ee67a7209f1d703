#pragma once

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::dataset::schema {

// After rows were inserted with given IDs, the next auto-numbered ID of each of the five tables goes above the
// greatest ID there. A file numbers above the greatest ID by itself: nothing to do there.
void continueKeys(sql::Connection& connection);

} // namespace kb::dataset::schema
