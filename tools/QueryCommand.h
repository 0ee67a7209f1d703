#pragma once

#include "QueryRequest.h"
#include "Value.h"

#include <QString>
#include <QStringList>
#include <ostream>
#include <string>
#include <vector>

namespace kb::tools {

// Parses one --param NAME=KIND:VALUE of the query command into the binding
// it stands for; throws UsageError naming what is wrong.
dataset::ParamBinding parseParam(const QString& argument);

// The text form of a result value in the tool's output: integers in decimal,
// doubles in the shortest form that reads back to the same double, date-times
// as "YYYY-MM-DD HH:MM:SS", text with tab, line feed, carriage return and
// backslash written as \t, \n, \r and \\, other control characters as \xHH,
// NULL as "NULL". UTF-8.
std::string formatValue(const sql::Value& value);
std::string formatDouble(double value);
std::string escapeText(const QString& text);

// query FILE [--param NAME=KIND:VALUE]... [--] LINE...: runs the statement
// made of the lines through a query object on the file opened read-only and
// prints its result as tab-separated lines, the field names first. A
// statement that would write is refused. Throws UsageError or DbError.
int runQueryCommand(const QString& fileName, const QStringList& params, const QStringList& lines, std::ostream& out);

} // namespace kb::tools
