#include "LookupListModel.h"

#include "BoundedText.h"
#include "DataSet.h"
#include "ErrorReporting.h"
#include "ValueText.h"

namespace kb::databound {

namespace {

// The column of a named field of a data set, -1 when it has none.
int columnOf(const dataset::DataSet& set, const QString& name) {
    for (int c = 0; c < set.fieldCount(); ++c) {
        if (set.fieldName(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

} // namespace

LookupListModel::LookupListModel(QObject* parent) : QAbstractListModel(parent) {}

void LookupListModel::setListSource(dataset::DataSource* source, const QString& keyField, const QString& listField) {
    keyField_ = keyField;
    listField_ = listField;
    link_.setDataSource(source); // reloads
}

// Runs inside the data set's own signals, where an exception must not go.
void LookupListModel::reload() noexcept {
    std::exception_ptr failure;
    beginResetModel();
    rows_ = 0;
    keyColumn_ = listColumn_ = -1;
    keys_.reset();
    const dataset::DataSet* set = link_.dataSet();
    if (set && set->isActive()) {
        try {
            const int key = columnOf(*set, keyField_);
            const int list = columnOf(*set, listField_);
            if (key >= 0 && list >= 0) {
                rows_ = set->recordCount(); // reads a table object's rows now
                keyColumn_ = key;
                listColumn_ = list;
            }
        } catch (...) {
            failure = std::current_exception();
            rows_ = 0;
        }
    }
    endResetModel();
    if (failure)
        ui::reportError(failure);
}

const std::vector<sql::Value>& LookupListModel::keys() const {
    if (!keys_) {
        std::vector<sql::Value> read;
        read.reserve(size_t(rows_));
        for (int row = 0; row < rows_; ++row)
            read.push_back(link_.dataSet()->value(row, keyColumn_));
        keys_ = std::move(read);
    }
    return *keys_;
}

int LookupListModel::rowOfKey(const sql::Value& key) const {
    if (key.isNull() || rows_ == 0)
        return -1;
    const std::vector<sql::Value>& all = keys();
    for (size_t row = 0; row < all.size(); ++row) {
        if (all[row] == key)
            return int(row);
    }
    return -1;
}

sql::Value LookupListModel::keyAt(int row) const {
    return row >= 0 && row < rows_ ? keys().at(size_t(row)) : sql::Value();
}

int LookupListModel::rowCount(const QModelIndex& parent) const noexcept {
    return parent.isValid() ? 0 : rows_;
}

QVariant LookupListModel::data(const QModelIndex& index, int role) const noexcept {
    if (!index.isValid() || index.row() >= rows_ || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    try {
        return boundedForShow(text::display(link_.dataSet()->value(index.row(), listColumn_)));
    } catch (...) {
        return {}; // a page that fails to read while a view paints: the item stays empty
    }
}

Qt::ItemFlags LookupListModel::flags(const QModelIndex& index) const noexcept {
    if (!index.isValid() || index.row() >= rows_)
        return Qt::NoItemFlags;
    try {
        if (keyAt(index.row()).isNull())
            return Qt::ItemNeverHasChildren;
    } catch (...) {
        return Qt::ItemNeverHasChildren;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace kb::databound
