#pragma once

#include "Value.h"

#include <QObject>
#include <QString>

namespace kb::dataset {

// What a grid, a data-bound control or an export sees of a query or a table
// object: a result of rows and named fields with one current row.
//
// Cursor flags follow the desktop database components: first() sets bof,
// last() sets eof, next() on the last row sets eof without moving, prior() on
// the first row sets bof; on an empty result both are set.
//
// A subclass that reads its rows on first use places its cursor with
// setCursorToFirstRow(): the current row is then the first of whatever rows
// recordCount() gives when the cursor is first read or moved. Reading the
// cursor may therefore read the rows, and throws what that read throws.
class DataSet : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool isActive() const = 0;
    // These throw DbError while the data set is closed (a table object knows
    // its fields, fieldCount() and fieldName(), even then).
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int column) const = 0;
    virtual int recordCount() const = 0;
    virtual sql::Value value(int row, int column) const = 0;

    // The current row, -1 when closed or empty.
    int currentRow() const;
    sql::Value currentValue(int column) const;
    bool bof() const;
    bool eof() const;
    bool isEmpty() const;

    virtual void first();
    virtual void last();
    virtual void next();
    virtual void prior();
    // Makes row the current one (a grid click); clears bof and eof.
    virtual void moveTo(int row);

signals:
    void activeChanged(bool active);
    // Rows or fields replaced wholesale: opened, closed, refreshed.
    void dataReset();
    void rowInserted(int row);
    void rowRemoved(int row);
    // The stored values of a row changed (posted, refreshed one by one).
    void rowChanged(int row);
    // The current row moved, another row took its place, or bof/eof changed.
    void currentRowChanged(int row);

protected:
    // For subclasses: set position and flags, emitting currentRowChanged when
    // the row or a flag changes, or always with alwaysNotify (another row now
    // stands at the same position).
    void setCursor(int row, bool bof, bool eof, bool alwaysNotify = false);
    // For an open data set whose rows may not have been read yet: puts the
    // cursor where first() would, leaving the rows unread. When something
    // follows currentRowChanged, this is first() itself (the signal carries
    // the row, so the rows are read now); otherwise the position is fixed,
    // without a signal, when the cursor is first read or moved.
    void setCursorToFirstRow();
    // Fixes a position left by setCursorToFirstRow(), reading the rows if need
    // be; does nothing otherwise. A subclass calls it before it changes its
    // rows or its record count. Logically const: the position it fixes is the
    // one every reader would be given anyway.
    void settleCursor() const;
    void throwIfInactive() const;

private:
    void step(bool forward); // next() or prior()

    mutable int current_ = -1;
    mutable bool bof_ = true;
    mutable bool eof_ = true;
    mutable bool atFirstRow_ = false; // placed by setCursorToFirstRow(), not yet fixed
};

} // namespace kb::dataset
