#pragma once

#include "DbError.h"

#include <QString>

// The messages of the data sets that more than one place gives, each written
// once. Each function returns the error to throw.
namespace kb::dataset::errors {

// A typed text or a value that a field of that type cannot take.
sql::DbError notAnInteger(const QString& shown, const QString& field);
sql::DbError notAFloat(const QString& shown, const QString& field);
sql::DbError notADate(const QString& shown, const QString& field);

// A field written while it may not be.
sql::DbError readOnlyField(const QString& field);
sql::DbError notEditing(const QString& table, const QString& field);

// A field number outside the fields (counted from 0).
sql::DbError noTableField(int column, const QString& table);
sql::DbError noQueryField(int column, qsizetype fieldCount);

} // namespace kb::dataset::errors
