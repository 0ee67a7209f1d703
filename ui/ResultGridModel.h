#pragma once

#include "DataSet.h"
#include "DataSource.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

namespace kb::ui {

// A read-only table model over whatever data set a data source is bound to:
// one column per field, one row per record, each value in its default text
// form. While the data set is closed (or there is none) the model has no
// columns and no rows. Column titles start as the field names the engine
// reports and can be replaced per column until the data set is reset again.
class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultGridModel(QObject* parent = nullptr);

    // Follows the data source and whatever data set it is (re)bound to.
    void setDataSource(kb::DataSource* source);
    kb::DataSource* dataSource() const { return source_; }
    kb::DataSet* dataSet() const { return dataSet_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Replaces the title of a column (horizontal, display or edit role);
    // false when there is no such column.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void attach(kb::DataSet* dataSet);
    void reload();
    void onRowInserted(int row);
    void onRowRemoved(int row);
    void onRowChanged(int row);
    bool isCell(const QModelIndex& index) const;
    bool hasLiveRow(int row) const;

    QPointer<kb::DataSource> source_;
    QPointer<kb::DataSet> dataSet_;
    QList<QMetaObject::Connection> dataSetConnections_;
    // What the views were last told: kept so that the model stays consistent
    // with its own signals even while the data set changes underneath.
    int rows_ = 0;
    QStringList titles_;
};

} // namespace kb::ui
