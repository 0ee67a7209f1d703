#pragma once

#include "DataSet.h"
#include "Field.h"
#include "RowidSnapshot.h"
#include "Schema.h"

#include <memory>
#include <optional>
#include <vector>

namespace kb {

class Connection;
class DbError;

// A table object: a snapshot of which rows a table has (a static cursor), one
// current row, and browse, edit and insert states. Leaving a row that is being
// edited posts it. Every post and delete is one transaction. Pending edits
// belong to the table object, so they outlive the widgets that show them.
//
// The snapshot holds the rows' IDs (the rowids), in rowid order, not their
// values: those are read in pages of kPageRows rows when first needed, and the
// last few pages read are kept. Opening checks the table and its fields but
// leaves the snapshot unread: it is read, with the first page, the first time
// anything asks for the rows or the cursor (recordCount, value, currentRow,
// bof, eof, isEmpty, a field's value, a move, edit, insert, remove, refresh).
// Its rows are those of the file at that first use, as with a static cursor
// opened then: rows another connection adds or deletes later are seen only
// after refresh(). A row's values are those of the file when its page is read:
// another connection's change to a row shows once its page is read after the
// change (after refresh(), or when a page not among the kept ones is read
// again). A row another connection deleted before its page was read shows its
// ID and no values; posting a change to it or removing it fails as for any
// row that vanished.
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

    Table(Connection& connection, const schema::TableDef& def, QObject* parent = nullptr);
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
    Value value(int row, int column) const override;
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
    Value pendingValue(int column) const;
    void setPendingValue(int column, const Value& value);
    // Throws DbError unless the field may take a pending value now: it is
    // not read-only and the table is being edited or inserted into.
    void checkWritable(int column) const;

signals:
    void stateChanged(kb::Table::State state);
    void fieldChanged(int column);

private:
    using Row = std::vector<Value>;
    // Stored values of the rows at positions first, first + 1, ... of the snapshot.
    struct Page {
        int first = 0;
        std::vector<Row> rows;
        bool holds(int row) const { return row >= first && row < first + int(rows.size()); }
    };
    static constexpr size_t kKeptPages = 4;

    // The rowids of the snapshot, read from the file on first use.
    const RowidSnapshot& snapshot() const;
    // Throws while closed; otherwise makes sure the snapshot is read and the
    // cursor fixed. Every operation that moves, edits or re-reads starts here.
    void requireRows() const;
    // The stored values at a position of the snapshot, its page read if it is
    // not kept. The reference lasts until the next read of a page.
    const Row& storedRow(int row) const;
    void postIfEditing();
    void setState(State state);
    void checkColumn(int column) const; // throws DbError for a number outside the fields
    // Reads the rowids and the first page, replacing the kept pages.
    void readSnapshot() const;
    RowidSnapshot readRowids() const;
    Page readPage(const RowidSnapshot& snapshot, int first) const;
    [[noreturn]] void readFailed(const DbError& e) const;
    Row readRow(const QString& sql, const Value& key) const;
    // Keeps the kept pages in step with a row stored, inserted or removed at a position.
    void storeInPages(int row, const Row& stored);
    void insertInPages(int row, const Row& stored);
    void removeFromPages(int row);
    void beginInsert(bool atEnd);
    void postEdit();
    void postInsert();
    [[noreturn]] void rowVanished(const Value& key, const QString& consequence) const;
    [[noreturn]] void rowChangedMeanwhile(const Value& key, const QStringList& fields) const;

    Connection& connection_;
    std::vector<PendingWriter*> writers_;
    schema::TableDef def_;
    std::vector<std::unique_ptr<Field>> fields_;
    mutable RowidSnapshot rowids_;    // valid once rowsRead_; filled by snapshot()
    mutable std::vector<Page> pages_; // the pages kept, the last used last
    mutable bool rowsRead_ = false;
    State state_ = State::Inactive;
    Row pending_;
    Row original_;       // the edited row as read when the edit began
    int insertRow_ = -1; // where an inserted row is shown while pending
    // Where the cursor stood before an insert, for cancel().
    int savedRow_ = -1;
    bool savedBof_ = true;
    bool savedEof_ = true;

    // Statements built once from the field list; values are always bound.
    int keyColumn_ = 0;         // the auto-numbered ID
    std::vector<int> writable_; // columns written by INSERT and UPDATE, in order
    QString rowidsSql_;         // the snapshot: every rowid
    QString boundsSql_;         // the number of rows, the least and the greatest rowid
    QString selectPageSql_;     // the rowid and every field of listed rows; "%1" stands for the rowids' marks
    QString selectRangeSql_;    // the rowid and every field of the rows between two rowids
    QString selectByKeySql_;    // one row by ID
    QString selectByRowidSql_;  // one row by rowid (a row just inserted)
    QString insertSql_;
    QString updatePrefix_; // "UPDATE table SET ", the changed columns follow
    QString byKeySuffix_;  // " WHERE ID = ?"
    QString deleteSql_;
};

} // namespace kb
