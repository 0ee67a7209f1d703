#include "ResultGridModel.h"

#include "BoundedText.h"
#include "DataSet.h"
#include "DataSource.h"
#include "ErrorReporting.h"
#include "ValueText.h"

namespace kb::databound {

namespace {

// What a reset shows of an open data set: its number of rows and its field
// names. Asking for the number of rows reads a table object's rows now.
void readShape(const dataset::DataSet& dataSet, int& rows, QStringList& titles) {
    const int count = dataSet.recordCount();
    const int fields = dataSet.fieldCount();
    QStringList names;
    names.reserve(fields);
    for (int column = 0; column < fields; ++column)
        names.append(dataSet.fieldName(column));
    rows = count;
    titles = std::move(names);
}

} // namespace

ResultGridModel::ResultGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void ResultGridModel::setDataSource(dataset::DataSource* source) {
    if (dataSource() == source)
        return;
    // Read first, in the caller's frame: a failure changes nothing.
    if (dataset::DataSet* next = source ? source->dataSet() : nullptr; next && next->isActive())
        next->recordCount();
    link_.setDataSource(source); // reloads
}

// Runs inside the data set's own signal, where an exception must not go: a
// failed read is shown by the default error handler once the views have been
// told that the model is empty.
void ResultGridModel::reload() noexcept {
    std::exception_ptr failure;
    beginResetModel();
    rows_ = 0;
    titles_.clear();
    if (dataSet() && dataSet()->isActive()) {
        try {
            readShape(*dataSet(), rows_, titles_);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    endResetModel();
    if (failure)
        ui::reportError(failure);
}

// The data set has inserted or removed the row already; until the views have
// been told, the model answers for the rows as they were (see dataSetRow()).
void ResultGridModel::rowInserted(int row) noexcept {
    if (row < 0 || row > rows_ || titles_.isEmpty()) {
        reload();
        return;
    }
    shiftFrom_ = row;
    shiftBy_ = 1;
    beginInsertRows(QModelIndex(), row, row);
    ++rows_;
    shiftFrom_ = -1;
    endInsertRows();
}

void ResultGridModel::rowRemoved(int row) noexcept {
    if (row < 0 || row >= rows_) {
        reload();
        return;
    }
    shiftFrom_ = row;
    shiftBy_ = -1;
    beginRemoveRows(QModelIndex(), row, row);
    --rows_;
    shiftFrom_ = -1;
    endRemoveRows();
}

int ResultGridModel::dataSetRow(int row) const noexcept {
    if (shiftFrom_ < 0 || row < shiftFrom_)
        return row;
    if (shiftBy_ < 0 && row == shiftFrom_)
        return -1; // the removed row, gone from the data set
    return row + shiftBy_;
}

void ResultGridModel::rowChanged(int row) noexcept {
    if (row < 0 || row >= rows_ || titles_.isEmpty())
        return;
    emit dataChanged(index(row, 0), index(row, int(titles_.size()) - 1), {Qt::DisplayRole, Qt::TextAlignmentRole});
}

int ResultGridModel::rowCount(const QModelIndex& parent) const noexcept {
    return parent.isValid() ? 0 : rows_;
}

int ResultGridModel::columnCount(const QModelIndex& parent) const noexcept {
    return parent.isValid() ? 0 : int(titles_.size());
}

bool ResultGridModel::isCell(const QModelIndex& index) const noexcept {
    return index.isValid() && index.model() == this && !index.parent().isValid() && index.row() >= 0 &&
           index.row() < rows_ && index.column() >= 0 && index.column() < titles_.size();
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const noexcept {
    if (!isCell(index) || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole))
        return {};
    try {
        // The data set may already have changed under the model, ahead of its signal.
        const int row = dataSetRow(index.row());
        const dataset::DataSet* set = dataSet();
        if (!set || !set->isActive() || row < 0 || row >= set->recordCount() || index.column() >= set->fieldCount())
            return {};
        const sql::Value value = set->value(row, index.column());
        if (role == Qt::DisplayRole) {
            return boundedForShow(text::display(value));
        }
        // Numbers stand right-aligned so that their digits line up.
        const bool numeric = value.kind() == sql::Value::Kind::Integer || value.kind() == sql::Value::Kind::Float;
        return QVariant::fromValue(Qt::Alignment((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    } catch (...) {
        // A page of a table object that fails to read while a view paints
        // (the first page is read at open, see reload()): the cell stays
        // empty, as a view painting a cell has nowhere to send an error.
        return {};
    }
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const noexcept {
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

Qt::ItemFlags ResultGridModel::flags(const QModelIndex& index) const noexcept {
    if (!isCell(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace kb::databound
