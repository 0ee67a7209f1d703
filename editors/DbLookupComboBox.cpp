#include "DbLookupComboBox.h"

#include "DataSource.h"
#include "ErrorReporting.h"
#include "Field.h"
#include "Table.h"
#include "ValueText.h"

#include <QSignalBlocker>

namespace kb::editors {

namespace {

// The column of a named field of a data set, -1 when it has none.
int columnOf(const DataSet& set, const QString& name) {
    for (int c = 0; c < set.fieldCount(); ++c) {
        if (set.fieldName(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

} // namespace

DbLookupComboBox::DbLookupComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, &DbLookupComboBox::choose);
}

void DbLookupComboBox::setDataSource(DataSource* source) {
    if (source_ == source)
        return;
    disconnect(sourceConnection_);
    source_ = source;
    if (source)
        sourceConnection_ = connect(source, &DataSource::dataSetChanged, this, &DbLookupComboBox::bindData);
    bindData();
}

void DbLookupComboBox::setDataField(const QString& name) {
    fieldName_ = name;
    showKey();
}

void DbLookupComboBox::setListSource(DataSource* source) {
    if (listSource_ == source)
        return;
    disconnect(listSourceConnection_);
    listSource_ = source;
    if (source)
        listSourceConnection_ = connect(source, &DataSource::dataSetChanged, this, &DbLookupComboBox::bindList);
    bindList();
}

void DbLookupComboBox::setKeyField(const QString& name) {
    keyField_ = name;
    rebuildList();
}

void DbLookupComboBox::setListField(const QString& name) {
    listField_ = name;
    rebuildList();
}

void DbLookupComboBox::bindData() {
    if (table_)
        disconnect(table_, nullptr, this, nullptr);
    table_ = source_ ? qobject_cast<Table*>(source_->dataSet()) : nullptr;
    if (table_) {
        connect(table_, &DataSet::dataReset, this, &DbLookupComboBox::showKey);
        connect(table_, &DataSet::activeChanged, this, &DbLookupComboBox::showKey);
        connect(table_, &DataSet::currentRowChanged, this, &DbLookupComboBox::showKey);
        connect(table_, &DataSet::rowChanged, this, &DbLookupComboBox::showKey);
        connect(table_, &Table::stateChanged, this, &DbLookupComboBox::showKey);
        connect(table_, &Table::fieldChanged, this, &DbLookupComboBox::onFieldChanged);
    }
    showKey();
}

void DbLookupComboBox::bindList() {
    if (listSet_)
        disconnect(listSet_, nullptr, this, nullptr);
    listSet_ = listSource_ ? listSource_->dataSet() : nullptr;
    if (listSet_) {
        connect(listSet_, &DataSet::dataReset, this, &DbLookupComboBox::rebuildList);
        connect(listSet_, &DataSet::activeChanged, this, &DbLookupComboBox::rebuildList);
        connect(listSet_, &DataSet::rowInserted, this, &DbLookupComboBox::rebuildList);
        connect(listSet_, &DataSet::rowRemoved, this, &DbLookupComboBox::rebuildList);
        connect(listSet_, &DataSet::rowChanged, this, &DbLookupComboBox::rebuildList);
    }
    rebuildList();
}

Field* DbLookupComboBox::field() const {
    return table_ && !fieldName_.isEmpty() ? table_->findField(fieldName_) : nullptr;
}

void DbLookupComboBox::onFieldChanged(int column) {
    const Field* f = field();
    if (f && f->column() == column)
        showKey();
}

// The rows come from the lookup table object as it stands, a pending insert
// included once it has a key.
void DbLookupComboBox::rebuildList() {
    const QSignalBlocker blocker(this);
    clear();
    keys_.clear();
    try {
        if (listSet_ && listSet_->isActive()) {
            const int keyColumn = columnOf(*listSet_, keyField_);
            const int listColumn = columnOf(*listSet_, listField_);
            if (keyColumn >= 0 && listColumn >= 0) {
                const int count = listSet_->recordCount();
                for (int row = 0; row < count; ++row) {
                    Value key = listSet_->value(row, keyColumn);
                    if (key.isNull())
                        continue;
                    addItem(text::display(listSet_->value(row, listColumn)));
                    keys_.push_back(std::move(key));
                }
            }
        }
    } catch (...) {
        ui::reportError(std::current_exception());
    }
    showKey();
}

void DbLookupComboBox::showKey() {
    const QSignalBlocker blocker(this);
    int index = -1;
    try {
        const Field* f = field();
        if (f && table_->isActive()) {
            const Value key = f->value();
            for (size_t i = 0; i < keys_.size() && !key.isNull(); ++i) {
                if (keys_[i] == key) {
                    index = int(i);
                    break;
                }
            }
        }
    } catch (...) {
        ui::reportError(std::current_exception());
    }
    setCurrentIndex(index);
}

void DbLookupComboBox::choose(int index) {
    Field* f = field();
    if (!f || index < 0 || index >= int(keys_.size()))
        return;
    try {
        if (!table_->isEditing())
            table_->edit();
        f->setValue(keys_[size_t(index)]);
    } catch (...) {
        showKey(); // the box shows what the field holds
        ui::reportError(std::current_exception());
    }
}

} // namespace kb::editors
