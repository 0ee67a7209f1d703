#pragma once

#include "Value.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace kb::sql {
class Connection;
}

// The month's salary statement as the documents read it: the same statement
// text, bindings and rows as the main window's grid, run on a query object of
// the documents' own, so the grid and its shared queries stay as they are.
namespace kb::documents {

// The ten values of one statement row, in the statement's column order.
using StatementRow = std::vector<sql::Value>;

// The statement's column titles, in order.
const QStringList& statementTitles();

// The rows for the month of pickerValue (its full value bound to D1..D4, as
// the grid binds it). Throws the data layer's error when the database refuses
// the statement (a bonus that is not a number, for one).
std::vector<StatementRow> loadStatement(sql::Connection& connection, const QDateTime& pickerValue);

// The same statement for a month in which some bonus is not a number: the
// statement is run once for each bonus row of the month, so that a row the
// database refuses costs only its own employee. Each entry holds either the
// rows of one bonus row or the database's reason for refusing them, in the
// statement's order of names.
struct StatementPart {
    QString name;                   // the employee's name
    std::vector<StatementRow> rows; // empty when refused
    QString refusal;                // the database's message when refused
};
std::vector<StatementPart> loadStatementByBonus(sql::Connection& connection, const QDateTime& pickerValue);

} // namespace kb::documents
