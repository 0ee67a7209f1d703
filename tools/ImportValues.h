#pragma once

#include "OldDatabase.h"
#include "Schema.h"
#include "Value.h"

#include <QString>

// How a value of the old program's database becomes a value of a field of
// the program's schema. The import writes what convert() gives and checks
// the new file against it again.
namespace kb::tools::import {

// Whether a column of the old type can fill the field without losing anything.
bool fits(const dataset::schema::FieldDef& field, jet::ColumnType oldType);

struct Converted {
    sql::Value value;
    // Empty when the value is kept exactly; otherwise what was refused or
    // changed, for the import's report ("текст длиннее 255 символов (300): не перенесён").
    QString note;
};

Converted convert(const dataset::schema::FieldDef& field, const jet::Cell& cell);

} // namespace kb::tools::import
