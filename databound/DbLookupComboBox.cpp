#include "DbLookupComboBox.h"

#include "DataSource.h"
#include "ErrorReporting.h"
#include "Field.h"
#include "LookupListModel.h"
#include "Table.h"

#include <QListView>
#include <QProxyStyle>
#include <QSignalBlocker>

namespace kb::databound {

namespace {

// Drops the list below the box, as a lookup list always has, rather than over
// it around the current item: Qt then measures only the items it shows, not
// every item of the list, to place and size it.
class DropDownBelow : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        return hint == SH_ComboBox_Popup ? 0 : QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

DbLookupComboBox::DbLookupComboBox(QWidget* parent) : QComboBox(parent), list_(new LookupListModel(this)) {
    setEditable(false);
    auto* style = new DropDownBelow;
    style->setParent(this);
    setStyle(style);
    setModel(list_);
    // Sizes from a few characters, never from the items; every item is as high as the next.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    if (auto* items = qobject_cast<QListView*>(view()))
        items->setUniformItemSizes(true);
    connect(list_, &QAbstractItemModel::modelReset, this, &DbLookupComboBox::showKey);
    connect(this, &QComboBox::activated, this, &DbLookupComboBox::choose);
}

void DbLookupComboBox::setDataSource(dataset::DataSource* source, const QString& fieldName) {
    fieldName_ = fieldName;
    link_.setDataSource(source); // shows the key
}

void DbLookupComboBox::setListSource(dataset::DataSource* source, const QString& keyField, const QString& listField) {
    list_->setListSource(source, keyField, listField); // shows the key once the list is reset
}

sql::Value DbLookupComboBox::keyAt(int index) const {
    return list_->keyAt(index);
}

dataset::Field* DbLookupComboBox::field() const {
    dataset::Table* table = link_.table();
    return table && !fieldName_.isEmpty() ? table->findField(fieldName_) : nullptr;
}

void DbLookupComboBox::fieldChanged(int column) {
    const dataset::Field* f = field();
    if (f && f->column() == column)
        showKey();
}

void DbLookupComboBox::showKey() {
    const QSignalBlocker blocker(this);
    int index = -1;
    try {
        const dataset::Field* f = field();
        if (f && link_.table()->isActive())
            index = list_->rowOfKey(f->value());
    } catch (...) {
        ui::reportError(std::current_exception());
    }
    setCurrentIndex(index);
}

void DbLookupComboBox::choose(int index) {
    dataset::Field* f = field();
    if (!f)
        return;
    try {
        const sql::Value key = list_->keyAt(index);
        if (key.isNull())
            return;
        if (!link_.table()->isEditing())
            link_.table()->edit();
        f->setValue(key);
    } catch (...) {
        showKey(); // the box shows what the field holds
        ui::reportError(std::current_exception());
    }
}

} // namespace kb::databound
