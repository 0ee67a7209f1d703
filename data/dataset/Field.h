#pragma once

#include "EditMask.h"
#include "Schema.h"
#include "Value.h"

#include <QString>

namespace kb::dataset {

class Table;

// A typed field of a table object. Its value is that of the table's current
// row, or of the pending edit while the table is being edited or inserted into.
class Field {
public:
    Field(Table& table, schema::FieldDef def, int column);

    const QString& name() const { return def_.name; }
    sql::FieldType type() const { return def_.type; }
    bool isReadOnly() const { return def_.readOnly; }
    int maxLength() const { return def_.maxLength; }
    const QString& editMaskText() const { return def_.editMask; }
    const text::EditMask& editMask() const { return mask_; }
    const QString& displayFormat() const { return def_.displayFormat; }
    int column() const { return column_; }

    sql::Value value() const;
    bool isNull() const { return value().isNull(); }
    // Writes the value into the pending edit. Throws DbError when the field
    // is read-only or the table is neither being edited nor inserted into.
    void setValue(const sql::Value& value);

    // The value converted from text as a user typed it (empty text -> null).
    // Throws DbError with the conversion message:
    //   "'%s' is not a valid integer value for field '%s'"
    //   "'%s' is not a valid floating point value for field '%s'"
    //   and, for a date, "'%s' не является правильной датой для поля '%s'".
    void setText(const QString& text);

    // The text shown when not editing: the display format, else the default form.
    QString displayText() const;
    // The text shown while editing: through the edit mask where there is one.
    QString editText() const;

private:
    Table& table_;
    schema::FieldDef def_;
    text::EditMask mask_;
    int column_;
};

} // namespace kb::dataset
