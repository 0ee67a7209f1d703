#pragma once

#include "DataSource.h"
#include "Table.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace kb::dataset {

// What ties a data-aware widget to a data source, in the manner of Qt's
// QDataWidgetMapper: the link follows the source and whatever data set the
// source is bound to, and calls its client back through one interface. It
// owns every connection it makes; a source or data set destroyed or rebound
// under it is followed (the client hears dataSetReplaced() and the link
// then names the new data set, or none), and destroying the link ends
// everything, so a widget needs no connection code of its own.
//
// A client that holds typed text not yet written (an edit) gives the link its
// pending writer: the link registers it with the table object it follows and
// unregisters it when it follows another one or goes.
class DataLink {
public:
    class Client {
    public:
        // The link follows another data set, or none: the source was set,
        // was given another data set, or it or its data set was destroyed.
        virtual void dataSetReplaced() = 0;
        // The data set opened, closed or re-read its rows (its active state
        // is already the new one).
        virtual void dataSetReset() {}
        // Only with Follow::CurrentRow.
        virtual void currentRowChanged(int row) { (void)row; }
        virtual void rowInserted(int row) { (void)row; }
        virtual void rowRemoved(int row) { (void)row; }
        virtual void rowChanged(int row) { (void)row; }
        // A table object's pending value and state; never heard from other data sets.
        virtual void fieldChanged(int column) { (void)column; }
        virtual void stateChanged() {}

    protected:
        ~Client() = default;
    };

    // Whether the client hears of the current row. Following it makes a
    // table object read its rows as it opens, so a client that does not
    // show the current row (a list of every row) says so.
    enum class Follow { CurrentRow, RowsOnly };

    explicit DataLink(Client& client, Follow follow = Follow::CurrentRow, Table::PendingWriter* writer = nullptr);
    ~DataLink();
    DataLink(const DataLink&) = delete;
    DataLink& operator=(const DataLink&) = delete;

    // Follows the source and its data set from now on (null: nothing).
    // Tells the client dataSetReplaced() even when the data set stays.
    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    // The data set followed, null when none.
    DataSet* dataSet() const { return dataSet_; }
    // The data set followed when it is a table object, else null.
    Table* table() const;

private:
    void follow(DataSet* dataSet);
    void dataSetDestroyed();
    void forget();

    Client& client_;
    const Follow follow_;
    Table::PendingWriter* const writer_;
    QPointer<DataSource> source_;
    QPointer<DataSet> dataSet_;
    // The receivers of the connections to the source and to its data set:
    // replacing or destroying one ends every connection it receives.
    std::unique_ptr<QObject> sourceContext_;
    std::unique_ptr<QObject> dataSetContext_;
};

} // namespace kb::dataset
