#pragma once

#include "GridRequest.h"

#include <QDateTime>
#include <QString>

// The statements of the main window's grid handlers and of the pay slip,
// with their bindings and column layouts. The lines are sent exactly as
// written here, every blank included.
namespace kb::reports {

// The month's salary statement: seven lines, D1..D4 bound to the month
// picker's full value (only its month and year count), ten columns.
GridRequest salaryStatement(const QDateTime& pickerValue);
QStringList salaryStatementSql();

// Employees whose full name contains the text ("%" + text + "%", as typed).
GridRequest nameSearch(const QString& edit1Text);
// Employees whose position name equals the text as typed.
GridRequest positionSearch(const QString& edit2Text);
// Every employee that has a position.
GridRequest employeeList();

// The pay slip's existence check: whole-name equality with :P1, bound to the
// name as a text.
QStringList paySlipCheckSql();
dataset::QueryRequest paySlipCheck(const QString& name);

} // namespace kb::reports
