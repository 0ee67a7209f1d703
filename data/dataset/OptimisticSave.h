#pragma once

#include "TableStatements.h"

#include <QStringList>

namespace kb::sql {
class Connection;
} // namespace kb::sql

namespace kb::dataset {

// The save of an edited row: only the fields changed since the edit read the
// row are written, and only while each of them still holds the value read
// then. The comparison and the UPDATE run in one transaction that holds the
// write lock from its start, so the row cannot change between them; the
// fields are compared as the table object reads them (a date kept as text
// reads as a date), which spares the false conflicts a comparison of the
// file's raw values would give. Changes of other fields by another user stay.
class OptimisticSave {
public:
    struct Outcome {
        enum class Kind { Unchanged, Saved, Vanished, ChangedMeanwhile } kind;
        TableStatements::Row row; // Saved: as stored; ChangedMeanwhile: as the other user left it
        QStringList conflicts;    // ChangedMeanwhile: the fields changed by both
    };

    OptimisticSave(sql::Connection& connection, const TableStatements& statements, const schema::TableDef& def)
        : connection_(connection), statements_(statements), def_(def) {}

    // Throws DbError when the engine fails; nothing is written then, nor on
    // an outcome other than Saved.
    Outcome save(const TableStatements::Row& original, const TableStatements::Row& pending) const;

private:
    sql::Connection& connection_;
    const TableStatements& statements_;
    const schema::TableDef& def_;
};

} // namespace kb::dataset
