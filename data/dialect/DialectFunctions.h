#pragma once

#include "SqliteApi.h"

#include <string>

// The SQL functions of the dialect as SQLite calls them (see Dialect.h for
// what each does). Registered by dialect::install.
namespace kb::dialect::functions {

void month(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void year(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void round(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void number(sqlite3_context* ctx, int argc, sqlite3_value** argv); // kb_number
void like(sqlite3_context* ctx, int argc, sqlite3_value** argv);

// Fails the statement with the message.
inline void fail(sqlite3_context* ctx, const std::string& message) {
    sqlite3_result_error(ctx, message.c_str(), int(message.size()));
}

} // namespace kb::dialect::functions
