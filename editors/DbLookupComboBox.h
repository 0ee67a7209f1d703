#pragma once

#include "DataSource.h"
#include "Table.h"
#include "Value.h"

#include <QComboBox>
#include <QMetaObject>
#include <QPointer>
#include <vector>

namespace kb {
class Field;
} // namespace kb

namespace kb::editors {

// A drop-down list bound to a key field of the current row of a table object
// (the data source), listing the rows of a lookup table (the list source).
//
// It shows the list-field text of the lookup row whose key field equals the
// bound field's value, and nothing when no row does. The drop-down holds the
// lookup rows in the lookup table object's order; choosing one puts the
// table object into edit state and writes that row's key into the field.
// The list follows the lookup table: rows added, changed or removed there
// show at once.
class DbLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DbLookupComboBox(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    void setDataField(const QString& name);
    void setListSource(DataSource* source);
    void setKeyField(const QString& name);
    void setListField(const QString& name);

    // The key of the row at a list position.
    Value keyAt(int index) const { return keys_.at(size_t(index)); }

private:
    void bindData();
    void bindList();
    Field* field() const;
    void rebuildList();
    // Selects the lookup row of the field's value, or none.
    void showKey();
    void choose(int index);
    void onFieldChanged(int column);

    QPointer<DataSource> source_;
    QPointer<Table> table_;
    QString fieldName_;
    QMetaObject::Connection sourceConnection_;

    QPointer<DataSource> listSource_;
    QPointer<DataSet> listSet_;
    QString keyField_;
    QString listField_;
    QMetaObject::Connection listSourceConnection_;
    std::vector<Value> keys_; // one per item
};

} // namespace kb::editors
