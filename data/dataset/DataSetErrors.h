#pragma once

#include "DbError.h"

#include <QString>

// The messages of the data sets that more than one place gives, each written
// once. Each function returns the error to throw.
namespace kb::errors {

// A typed text or a value that a field of that type cannot take.
DbError notAnInteger(const QString& shown, const QString& field);
DbError notAFloat(const QString& shown, const QString& field);
DbError notADate(const QString& shown, const QString& field);

// A field written while it may not be.
DbError readOnlyField(const QString& field);
DbError notEditing(const QString& table, const QString& field);

// A field number outside the fields (counted from 0).
DbError noTableField(int column, const QString& table);
DbError noQueryField(int column, qsizetype fieldCount);

} // namespace kb::errors
