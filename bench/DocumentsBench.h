#pragma once

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::bench {

// The printed documents of April 2013 written as PDF into memory: the
// statement (read, laid out over its pages, written) and every pay slip of the
// month, each against the statement's query alone.
void benchDocuments(sql::Connection& connection, int runs);

} // namespace kb::bench
