#pragma once

#include "DataLink.h"
#include "DataSource.h"
#include "Value.h"

#include <QAbstractListModel>
#include <optional>
#include <vector>

namespace kb::databound {

// The drop-down list of a lookup combo box: one item per row of the lookup
// data set, in its order, showing the list field (at most kMaxShownChars
// characters). Texts are read when a view asks for them, through the data
// set's pages, so a list of ten thousand rows costs no more to open than a
// list of ten. The keys are read, all of them, the first time a key is
// looked up after a reset. A row without a key (a row being inserted) is
// listed but cannot be chosen. Any change of the lookup data set resets the
// model.
//
// Nothing a view calls throws; a failed read on a reset is shown by the
// default error handler and leaves the list empty.
class LookupListModel : public QAbstractListModel, private dataset::DataLink::Client {
    Q_OBJECT
public:
    explicit LookupListModel(QObject* parent = nullptr);

    void setListSource(dataset::DataSource* source, const QString& keyField, const QString& listField);
    dataset::DataSource* listSource() const { return link_.dataSource(); }

    // The row whose key is key, -1 when none is (or key is null). Throws
    // what reading the rows throws.
    int rowOfKey(const sql::Value& key) const;
    // The key of a row, null when it has none. Throws as rowOfKey().
    sql::Value keyAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const noexcept override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const noexcept override;
    Qt::ItemFlags flags(const QModelIndex& index) const noexcept override;

private:
    void dataSetReplaced() noexcept override { reload(); }
    void dataSetReset() noexcept override { reload(); }
    void rowInserted(int) noexcept override { reload(); }
    void rowRemoved(int) noexcept override { reload(); }
    void rowChanged(int) noexcept override { reload(); }
    void reload() noexcept;
    const std::vector<sql::Value>& keys() const;

    dataset::DataLink link_{*this, dataset::DataLink::Follow::RowsOnly};
    QString keyField_;
    QString listField_;
    // What the views were last told, and where the fields stand.
    int rows_ = 0;
    int keyColumn_ = -1;
    int listColumn_ = -1;
    mutable std::optional<std::vector<sql::Value>> keys_;
};

} // namespace kb::databound
