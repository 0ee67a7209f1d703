#pragma once

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::bench {

// The export of the salary statement of a large database (10 columns, one row
// per employee) into an .xlsx file through the whole automation protocol,
// one call per cell, against writing the same cells with the same formats
// directly with libxlsxwriter.
void benchExport(sql::Connection& connection, int runs);

} // namespace kb::bench
