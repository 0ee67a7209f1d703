#pragma once

#include "Schema.h"
#include "Statement.h"

#include <QString>
#include <vector>

namespace kb::sql {
class TextMemo;
} // namespace kb::sql

namespace kb::dataset {

// The statements of a table object, built once from its field list, in the
// SQL every engine reads: the rows are found by their ID column, never by an
// engine's own row number, and every value is bound. Also reads a row of
// them, each value held in its field's type.
class TableStatements {
public:
    using Row = std::vector<sql::Value>;

    explicit TableStatements(const schema::TableDef& def);

    int keyColumn() const { return keyColumn_; }                   // the auto-numbered ID
    const std::vector<int>& writable() const { return writable_; } // written by INSERT and UPDATE, in order

    // One row: the number of rows, the least ID and the greatest.
    const QString& bounds() const { return bounds_; }
    // IDs above ?1 and up to ?2, ?3 of them at most: the least (ascending) or the greatest (descending).
    const QString& keysAscending() const { return keysAscending_; }
    const QString& keysDescending() const { return keysDescending_; }
    // One row: how many IDs lie above ?1 and below ?2, and whether ?3 is one.
    const QString& keysBelow() const { return keysBelow_; }
    // Every field of the rows with IDs from ?1 to ?2, or of `count` listed IDs.
    const QString& rowsBetween() const { return rowsBetween_; }
    QString rowsListed(int count) const;
    // Every field of the row with ID ?1.
    const QString& rowByKey() const { return rowByKey_; }
    // Inserts the writable fields, gives back every field of the new row.
    const QString& insert() const { return insert_; }
    // Sets the given columns of the row whose ID is the last value bound, gives back every field.
    QString update(const std::vector<int>& columns) const;
    // Deletes the row with ID ?1, gives back its ID.
    const QString& remove() const { return remove_; }

    // The current row of a statement over every field; memos, if given, one per field.
    Row read(const sql::Statement& statement, std::span<sql::TextMemo> memos = {}) const;
    size_t fieldCount() const { return types_.size(); }

private:
    int keyColumn_ = 0;
    std::vector<int> writable_;
    std::vector<QString> names_; // quoted
    std::vector<sql::FieldType> types_;
    QString table_;
    QString columns_;
    QString key_;
    QString bounds_;
    QString keysAscending_;
    QString keysDescending_;
    QString keysBelow_;
    QString rowsBetween_;
    QString rowByKey_;
    QString insert_;
    QString remove_;
};

} // namespace kb::dataset
