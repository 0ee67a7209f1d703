#pragma once

#include "DataSet.h"
#include "Field.h"
#include "KeySnapshot.h"
#include "OptimisticSave.h"
#include "PageCache.h"
#include "Schema.h"
#include "TableStatements.h"

#include <memory>
#include <optional>
#include <vector>

namespace kb::sql {
class Connection;
class DbError;
} // namespace kb::sql

namespace kb::dataset {

// A table object: a snapshot of which rows a table has (a static cursor), one
// current row, and browse, edit and insert states. Leaving a row that is being
// edited posts it. Every post and delete is one transaction. Pending edits
// belong to the table object, so they outlive the widgets that show them.
//
// The snapshot (KeySnapshot) holds the rows' IDs in ascending order, not
// their values: one statement gives the number of rows and the least and the
// greatest ID. A table without gaps in its IDs needs nothing more; otherwise
// the IDs are read as positions need them, a stretch at a time from the
// nearer end, never above the greatest ID of the snapshot. Values are read in
// pages of kPageRows rows when first needed, and the last few pages read are
// kept (PageCache). Opening checks the table and its fields but leaves the
// snapshot unread: it is read, with the first page, the first time anything
// asks for the rows or the cursor (recordCount, value, currentRow, bof, eof,
// isEmpty, a field's value, a move, edit, insert, remove, refresh). Its rows
// are those of the file at that first use, as with a static cursor opened
// then: rows another connection adds are seen only after refresh(), and the
// number of rows stays as counted then until refresh(). A row's values are
// those of the file when its page is read: another connection's change to a
// row shows once its page is read after the change (after refresh(), or when
// a page not among the kept ones is read again). A row another connection
// deleted before its page was read shows no values; before its ID was read
// (in a table with gaps), no ID either. Posting a change to it or removing it
// fails as for any row that vanished.
// Whenever the snapshot is read, the current row is then its first. If
// something follows currentRowChanged while the table opens, the snapshot is
// read at once, so that the signal can tell the row; open() then fails and
// leaves the table closed when that read fails. A later failed read throws
// DbError from the call that needed the rows and leaves the table open with
// what it had, to be read at the next use.
//
// What a bound widget follows: currentRowChanged (another row is current, or
// a new row took the current position), rowChanged (the stored values of a
// row changed, e.g. after a post showing the new ID), fieldChanged (a pending
// value changed), stateChanged, dataReset (opened, closed, refreshed). While
// inserting, the pending row is part of the data set at insertRow and
// counts in recordCount(); while editing, value() of the current row gives
// the pending values.
class Table : public DataSet {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    // The rows read at once when one of them is needed.
    static constexpr int kPageRows = 200;

    // Something that holds a value typed but not yet written to the pending
    // row (a data-bound control) writes it when post() asks, before anything
    // is stored; a writer that throws stops the post, and the table stays in
    // its edit or insert state. Moving off an edited row posts, so it asks too.
    class PendingWriter {
    public:
        virtual void writePending() = 0;

    protected:
        ~PendingWriter() = default;
    };
    // A writer registers while it is bound and unregisters before it goes.
    void addPendingWriter(PendingWriter* writer);
    void removePendingWriter(PendingWriter* writer);

    Table(sql::Connection& connection, const schema::TableDef& def, QObject* parent = nullptr);
    ~Table() override;

    const QString& tableName() const { return def_.name; }

    // Throws DbError when the table or one of its fields is missing from the
    // file. The current row is the first of the snapshot, once it is read.
    void open();
    void close();
    bool isActive() const override { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    bool canModify() const { return isActive(); }

    int fieldCount() const override { return int(fields_.size()); }
    QString fieldName(int column) const override;
    int recordCount() const override;
    sql::Value value(int row, int column) const override;
    Field& field(int column) { return *fields_.at(size_t(column)); }
    Field& fieldByName(const QString& name); // throws DbError when absent
    Field* findField(const QString& name);

    void edit();   // Browse -> Edit on the current row; an empty table goes to Insert
    void insert(); // a new row before the current one, all fields null
    void append(); // a new row at the end
    // Writes the pending edit or insert; throws DbError and stays editing on
    // failure. An edit writes only the fields changed since edit() read the
    // row, and only when each of them still holds the value read then: when
    // another user changed one of them meanwhile, post fails and keeps the
    // typed values (cancel() then shows the other user's). Changes of other
    // fields by another user are kept alongside.
    void post();
    void cancel();  // drops the pending edit or insert
    void remove();  // deletes the current row (the confirmation is the caller's)
    void refresh(); // re-reads the snapshot, keeping the current row by ID where it still exists

    void first() override;
    void last() override;
    void next() override;
    void prior() override;
    void moveTo(int row) override;

    // The pending edit, for Field.
    sql::Value pendingValue(int column) const;
    void setPendingValue(int column, const sql::Value& value);
    // Throws DbError unless the field may take a pending value now: it is
    // not read-only and the table is being edited or inserted into.
    void checkWritable(int column) const;

signals:
    void stateChanged(Table::State state);
    void fieldChanged(int column);

private:
    using Row = std::vector<sql::Value>;
    // How many IDs a gap's read asks for at least.
    static constexpr int kKeyChunk = 1000;

    // Throws while closed; otherwise makes sure the snapshot is read and the
    // cursor fixed. Every operation that moves, edits or re-reads starts here.
    void requireRows() const;
    // The snapshot, read from the file on first use.
    const KeySnapshot& keys() const;
    // The stored values at a position of the snapshot, its page read if it is
    // not kept. The reference lasts until the next read of a page.
    const Row& storedRow(int row) const;
    // The ID at a position, read if it is not yet; null when it holds none.
    sql::Value keyAt(int row) const;
    void postIfEditing();
    void setState(State state);
    void checkColumn(int column) const; // throws DbError for a number outside the fields
    // Reads the snapshot and the first page, replacing the kept pages.
    void readSnapshot() const;
    // Reads the IDs of the positions in [from, to) that are not read yet.
    void readKeys(int from, int to) const;
    PageCache::Page readPage(int first) const;
    // The position of an ID after a refresh, if the snapshot holds it.
    std::optional<int> positionOf(qint64 id) const;
    [[noreturn]] void readFailed(const sql::DbError& e) const;
    void beginInsert(bool atEnd);
    void postEdit();
    void postInsert();
    [[noreturn]] void rowVanished(const sql::Value& key, const QString& consequence) const;
    [[noreturn]] void rowChangedMeanwhile(const sql::Value& key, const QStringList& fields) const;

    sql::Connection& connection_;
    std::vector<PendingWriter*> writers_;
    schema::TableDef def_;
    TableStatements statements_;
    OptimisticSave save_;
    std::vector<std::unique_ptr<Field>> fields_;
    mutable KeySnapshot keys_; // valid once rowsRead_
    mutable PageCache pages_;
    mutable bool rowsRead_ = false;
    State state_ = State::Inactive;
    Row pending_;
    Row original_;       // the edited row as read when the edit began
    int insertRow_ = -1; // where an inserted row is shown while pending
    // Where the cursor stood before an insert, for cancel().
    int savedRow_ = -1;
    bool savedBof_ = true;
    bool savedEof_ = true;
};

} // namespace kb::dataset
