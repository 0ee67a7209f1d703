#pragma once

#include "DataLink.h"
#include "DataSet.h"
#include "DataSource.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace kb::databound {

// A read-only table model over whatever data set a data source is bound to:
// one column per field, one row per record, each value in its default text
// form. While the data set is closed (or there is none) the model has no
// columns and no rows. Column titles start as the field names the engine
// reports and can be replaced per column until the data set is reset again.
//
// Nothing a view calls throws. A table object reads its rows at first use,
// so the model makes that first use happen where an error has somewhere to
// go: setDataSource() reads them before it binds anything and throws to its
// caller; a reset (the data set opened, refreshed or rebound) reads them
// before the views hear of it, and a failure there is shown by the default
// error handler and leaves the model empty. While the model has rows their
// data set has read them, so data() only looks values up.
//
// A cell shows at most kMaxShownChars characters of its value (see
// BoundedText.h); the grid edits nothing, so nothing stored is cut.
class ResultGridModel : public QAbstractTableModel, private dataset::DataLink::Client {
    Q_OBJECT
public:
    explicit ResultGridModel(QObject* parent = nullptr);

    // Follows the data source and whatever data set it is (re)bound to.
    // Throws what reading the rows of its data set throws, and then leaves
    // the model as it was.
    void setDataSource(dataset::DataSource* source);
    dataset::DataSource* dataSource() const { return link_.dataSource(); }
    dataset::DataSet* dataSet() const { return link_.dataSet(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const noexcept override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const noexcept override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const noexcept override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const noexcept override;
    // Replaces the title of a column (horizontal, display or edit role);
    // false when there is no such column.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const noexcept override;

signals:
    // The current row of the data set moved (see DataSet::currentRowChanged).
    void dataSetRowChanged(int row);

private:
    void dataSetReplaced() noexcept override { reload(); }
    void dataSetReset() noexcept override { reload(); }
    void currentRowChanged(int row) noexcept override { emit dataSetRowChanged(row); }
    void rowInserted(int row) noexcept override;
    void rowRemoved(int row) noexcept override;
    void rowChanged(int row) noexcept override;
    void reload() noexcept;
    bool isCell(const QModelIndex& index) const noexcept;
    int dataSetRow(int row) const noexcept; // -1 for a row the data set no longer has

    dataset::DataLink link_{*this};
    // What the views were last told: kept so that the model stays consistent
    // with its own signals even while the data set changes underneath.
    int rows_ = 0;
    QStringList titles_;
    // While the views hear of a row inserted (+1) or removed (-1) in the data
    // set, rows from shiftFrom_ on stand that far from their data set row.
    int shiftFrom_ = -1;
    int shiftBy_ = 0;
};

} // namespace kb::databound
