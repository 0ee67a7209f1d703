#pragma once

#include "DataSet.h"
#include "DataSource.h"

#include <QTableView>

namespace kb::databound {

class ResultGridModel;

// The main window's result grid: a read-only table over the data set of a
// data source, with a title row, grid lines and a narrow row indicator at the
// left that marks the current row. Columns can be resized and dragged to
// another place; Tab moves from cell to cell. The grid's current cell and the
// data set's current row follow each other. Every time the data set opens the
// columns are rebuilt with the field names as titles and a default width.
//
// Columns are addressed by their index in the result (the field order),
// whatever place the user has dragged them to. Like its model, the grid lets
// no exception out into the view's event handling.
class ResultGrid : public QTableView {
    Q_OBJECT
public:
    explicit ResultGrid(QWidget* parent = nullptr);
    ~ResultGrid() override;

    // Throws what reading the rows of the source's data set throws (see ResultGridModel).
    void setDataSource(dataset::DataSource* source);
    dataset::DataSource* dataSource() const;
    dataset::DataSet* dataSet() const;
    ResultGridModel* resultModel() const { return model_; }

    int columnCount() const;
    // Throw std::out_of_range when the grid has no such column.
    QString columnTitle(int column) const;
    void setColumnTitle(int column, const QString& title);
    void setColumnWidth(int column, int width);
    int columnWidth(int column) const;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void requireColumn(int column) const;
    void followDataSetRow(int row);
    void afterReset();
    void setCurrentRowIndex(int row);

    ResultGridModel* model_;
};

} // namespace kb::databound
