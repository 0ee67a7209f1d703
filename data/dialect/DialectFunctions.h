#pragma once

#include "DateTimeParts.h"
#include "SqliteApi.h"

#include <optional>
#include <string>

// The SQL functions of the dialect as SQLite calls them (see Dialect.h for
// what each does). Registered by dialect::install.
namespace kb::dialect::functions {

void month(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void year(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void round(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void number(sqlite3_context* ctx, int argc, sqlite3_value** argv); // kb_number
void like(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void monthStart(sqlite3_context* ctx, int argc, sqlite3_value** argv); // kb_month_start
void monthEnd(sqlite3_context* ctx, int argc, sqlite3_value** argv);   // kb_month_end

// Reads a date-time argument as Month() and Year() read it (ISO text or day
// number): true with `date` empty for NULL, true with the date for a date-time;
// false for anything else, after failing the statement with the message of the
// function `name` ("Функция Month: значение 'x' не является датой").
bool readDate(sqlite3_context* ctx, sqlite3_value* v, const char* name, std::optional<sql::datetime::Parts>& date);

// Fails the statement with the message.
inline void fail(sqlite3_context* ctx, const std::string& message) {
    sqlite3_result_error(ctx, message.c_str(), int(message.size()));
}

} // namespace kb::dialect::functions
