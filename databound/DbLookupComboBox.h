#pragma once

#include "DataLink.h"
#include "DataSource.h"
#include "Table.h"
#include "Value.h"

#include <QComboBox>

namespace kb::dataset {
class Field;
} // namespace kb::dataset

namespace kb::databound {

class LookupListModel;

// A drop-down list bound to a key field of the current row of a table object
// (the data source), listing the rows of a lookup table (the list source).
//
// It shows the list-field text of the lookup row whose key field equals the
// bound field's value, and nothing when no row does. The drop-down holds the
// lookup rows in the lookup table object's order; choosing one puts the
// table object into edit state and writes that row's key into the field.
// The list follows the lookup table: rows added, changed or removed there
// show at once.
//
// The list is a model over the lookup data set that reads its texts when
// they are shown (see LookupListModel), and the box never measures its
// items for its size or its drop-down: a list of ten thousand names opens as
// fast as a short one. The forms give the box its geometry.
class DbLookupComboBox : public QComboBox, private dataset::DataLink::Client {
    Q_OBJECT
public:
    explicit DbLookupComboBox(QWidget* parent = nullptr);

    void setDataSource(dataset::DataSource* source, const QString& fieldName);
    void setListSource(dataset::DataSource* source, const QString& keyField, const QString& listField);

    // The key of the row at a list position, null when it has none.
    sql::Value keyAt(int index) const;

private:
    void dataSetReplaced() override { showKey(); }
    void dataSetReset() override { showKey(); }
    void currentRowChanged(int) override { showKey(); }
    void rowChanged(int) override { showKey(); }
    void stateChanged() override { showKey(); }
    void fieldChanged(int column) override;
    dataset::Field* field() const;
    // Selects the lookup row of the field's value, or none.
    void showKey();
    void choose(int index);

    LookupListModel* list_;
    QString fieldName_;
    dataset::DataLink link_{*this};
};

} // namespace kb::databound
