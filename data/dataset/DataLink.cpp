#include "DataLink.h"

#include "DataSet.h"
#include "DataSource.h"

namespace kb::dataset {

DataLink::DataLink(Client& client, Follow follow, Table::PendingWriter* writer)
    : client_(client), follow_(follow), writer_(writer) {}

DataLink::~DataLink() {
    forget();
}

Table* DataLink::table() const {
    return qobject_cast<Table*>(dataSet_.data());
}

void DataLink::setDataSource(DataSource* source) {
    sourceContext_ = std::make_unique<QObject>();
    source_ = source;
    if (source) {
        QObject* context = sourceContext_.get();
        QObject::connect(source, &DataSource::dataSetChanged, context, [this](DataSet* dataSet) { follow(dataSet); });
        // A source going takes its data set's binding with it.
        QObject::connect(source, &QObject::destroyed, context, [this] {
            source_ = nullptr;
            follow(nullptr);
        });
    }
    follow(source ? source->dataSet() : nullptr);
}

void DataLink::follow(DataSet* dataSet) {
    forget();
    dataSet_ = dataSet;
    if (dataSet) {
        dataSetContext_ = std::make_unique<QObject>();
        QObject* context = dataSetContext_.get();
        Client* client = &client_;
        QObject::connect(dataSet, &DataSet::dataReset, context, [client] { client->dataSetReset(); });
        if (follow_ == Follow::CurrentRow)
            QObject::connect(dataSet, &DataSet::currentRowChanged, context,
                             [client](int row) { client->currentRowChanged(row); });
        QObject::connect(dataSet, &DataSet::rowInserted, context, [client](int row) { client->rowInserted(row); });
        QObject::connect(dataSet, &DataSet::rowRemoved, context, [client](int row) { client->rowRemoved(row); });
        QObject::connect(dataSet, &DataSet::rowChanged, context, [client](int row) { client->rowChanged(row); });
        QObject::connect(dataSet, &QObject::destroyed, context, [this] { dataSetDestroyed(); });
        if (Table* t = table()) {
            QObject::connect(t, &Table::fieldChanged, context, [client](int column) { client->fieldChanged(column); });
            QObject::connect(t, &Table::stateChanged, context, [client] { client->stateChanged(); });
            if (writer_)
                t->addPendingWriter(writer_);
        }
    }
    client_.dataSetReplaced();
}

// The data set is past its own destructor: nothing of it may be touched, and
// its connections are gone already.
void DataLink::dataSetDestroyed() {
    dataSet_ = nullptr;
    client_.dataSetReplaced();
}

void DataLink::forget() {
    if (Table* t = writer_ ? table() : nullptr)
        t->removePendingWriter(writer_);
    dataSetContext_.reset();
    dataSet_ = nullptr;
}

} // namespace kb::dataset
