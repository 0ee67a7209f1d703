#include "ResultGridModel.h"

#include "DataSet.h"
#include "DataSource.h"
#include "ValueText.h"

namespace kb::ui {

ResultGridModel::ResultGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void ResultGridModel::setDataSource(kb::DataSource* source) {
    if (source_ == source)
        return;
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &kb::DataSource::dataSetChanged, this, &ResultGridModel::attach);
        connect(source_, &QObject::destroyed, this, [this] { attach(nullptr); });
    }
    attach(source_ ? source_->dataSet() : nullptr);
}

void ResultGridModel::attach(kb::DataSet* dataSet) {
    for (const auto& connection : std::as_const(dataSetConnections_))
        disconnect(connection);
    dataSetConnections_.clear();
    dataSet_ = dataSet;
    if (dataSet_) {
        dataSetConnections_ = {
            connect(dataSet_, &kb::DataSet::dataReset, this, &ResultGridModel::reload),
            connect(dataSet_, &kb::DataSet::rowInserted, this, &ResultGridModel::onRowInserted),
            connect(dataSet_, &kb::DataSet::rowRemoved, this, &ResultGridModel::onRowRemoved),
            connect(dataSet_, &kb::DataSet::rowChanged, this, &ResultGridModel::onRowChanged),
            // A data set destroyed under the model leaves it empty.
            connect(dataSet_, &QObject::destroyed, this, [this] { attach(nullptr); }),
        };
    }
    reload();
}

void ResultGridModel::reload() {
    beginResetModel();
    rows_ = 0;
    titles_.clear();
    if (dataSet_ && dataSet_->isActive()) {
        rows_ = dataSet_->recordCount();
        const int fields = dataSet_->fieldCount();
        titles_.reserve(fields);
        for (int column = 0; column < fields; ++column)
            titles_.append(dataSet_->fieldName(column));
    }
    endResetModel();
}

void ResultGridModel::onRowInserted(int row) {
    if (row < 0 || row > rows_ || titles_.isEmpty()) {
        reload();
        return;
    }
    beginInsertRows(QModelIndex(), row, row);
    ++rows_;
    endInsertRows();
}

void ResultGridModel::onRowRemoved(int row) {
    if (row < 0 || row >= rows_) {
        reload();
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    --rows_;
    endRemoveRows();
}

void ResultGridModel::onRowChanged(int row) {
    if (row < 0 || row >= rows_ || titles_.isEmpty())
        return;
    emit dataChanged(index(row, 0), index(row, int(titles_.size()) - 1), {Qt::DisplayRole, Qt::TextAlignmentRole});
}

int ResultGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ResultGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(titles_.size());
}

bool ResultGridModel::isCell(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && !index.parent().isValid() && index.row() >= 0 &&
           index.row() < rows_ && index.column() >= 0 && index.column() < titles_.size();
}

bool ResultGridModel::hasLiveRow(int row) const {
    return dataSet_ && dataSet_->isActive() && row < dataSet_->recordCount();
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
    if (!isCell(index))
        return {};
    if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)
        return {};
    if (!hasLiveRow(index.row()) || index.column() >= dataSet_->fieldCount())
        return {};
    const Value value = dataSet_->value(index.row(), index.column());
    if (role == Qt::DisplayRole)
        return text::display(value);
    // Numbers stand right-aligned so that their digits line up.
    const bool numeric = value.kind() == Value::Kind::Integer || value.kind() == Value::Kind::Float;
    return QVariant::fromValue(Qt::Alignment((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // Rows carry no text: the view marks the current row itself.
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section < 0 || section >= titles_.size())
        return {};
    return titles_.at(section);
}

bool ResultGridModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    if (section < 0 || section >= titles_.size())
        return false;
    titles_[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags ResultGridModel::flags(const QModelIndex& index) const {
    if (!isCell(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace kb::ui
