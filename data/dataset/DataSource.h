#pragma once

#include <QObject>

namespace kb::dataset {

class DataSet;

// A named handle that widgets bind to: the grid binds to the data source of
// the shared query, a record editor's controls to that of their table.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(DataSet* dataSet = nullptr, QObject* parent = nullptr) : QObject(parent), dataSet_(dataSet) {}
    DataSet* dataSet() const { return dataSet_; }
    void setDataSet(DataSet* dataSet) {
        if (dataSet_ != dataSet) {
            dataSet_ = dataSet;
            emit dataSetChanged(dataSet);
        }
    }

signals:
    void dataSetChanged(DataSet* dataSet);

private:
    DataSet* dataSet_;
};

} // namespace kb::dataset
