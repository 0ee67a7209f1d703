#pragma once

#include "DataLink.h"
#include "DataSource.h"
#include "EditMask.h"
#include "Table.h"

#include <QLineEdit>

namespace kb::dataset {
class Field;
} // namespace kb::dataset

namespace kb::databound {

// A single-line edit bound to one field of the current row of a table object.
//
// Out of focus it shows the field's display text; in focus, where the field
// can be changed, its edit text through the field's edit mask, '/' standing
// for the locale's date separator. Typing puts the table object into edit
// state (insert state when it is empty). The typed text is written to the
// field when the control loses focus and when the row is posted; text that
// does not convert or leaves required mask positions unfilled is refused
// with the data layer's message through the default error handler, and the
// control keeps the focus and the text. Escape drops the typed text and shows
// the field again. A read-only field (the auto-numbered ID) cannot be typed into.
//
// Out of focus the beginning of the text shows, as in any edit box. A value
// longer than kMaxShownChars (see BoundedText.h) is shown as its beginning
// and the control is then read-only, so the shortened text it shows can
// never be written back over the stored value.
class DbEdit : public QLineEdit, private dataset::Table::PendingWriter, private dataset::DataLink::Client {
    Q_OBJECT
public:
    explicit DbEdit(QWidget* parent = nullptr);

    void setDataSource(dataset::DataSource* source, const QString& fieldName);
    dataset::DataSource* dataSource() const { return link_.dataSource(); }
    const QString& dataField() const { return fieldName_; }
    // Characters that may be typed; 0 (the default) takes a text field's
    // own size. The display text out of focus is never cut to it.
    void setMaxChars(int chars);

    // Typed text not yet written to the field.
    bool isModified() const { return modified_; }
    // Writes typed text to the field now (a form that closes may want it
    // kept); throws what the mask or the field refuses, keeping the text.
    void writeTypedText();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void dataSetReplaced() override;
    void dataSetReset() override { showField(); }
    void currentRowChanged(int) override { showField(); }
    void rowChanged(int row) override;
    void fieldChanged(int column) override;
    void stateChanged() override { showField(); }
    dataset::Field* field() const;
    bool canChange() const;
    // Shows the field afresh, dropping typed text.
    void showField();
    QString maskedEditText(const dataset::Field& field) const;
    void writePending() override;
    void setMaskedInput(bool masked);
    void beginEdit();
    bool typeMasked(QKeyEvent* event);

    QString fieldName_;
    text::EditMask mask_;
    bool masked_ = false; // the edit text through the mask is shown
    bool modified_ = false;
    int maxChars_ = 0;
    dataset::DataLink link_{*this, dataset::DataLink::Follow::CurrentRow, this};
};

// The locale's date separator: the first character of its short date format
// that is no part of a day, month or year.
QChar localeDateSeparator();

} // namespace kb::databound
