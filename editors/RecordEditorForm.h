#pragma once

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <initializer_list>

class QLabel;

namespace kb::dataset {
class DataSource;
} // namespace kb::dataset

namespace kb::databound {
class DbEdit;
class DbLookupComboBox;
class DbNavigator;
} // namespace kb::databound

namespace kb::editors {

// The forms are made of the data-aware widgets.
using databound::DbEdit;
using databound::DbLookupComboBox;
using databound::DbNavigator;

// What the record editors have in common: a fixed-size modal window with the
// program's 8-point font and bold labels, every control at its designed place
// in the client area, placed in the centre of the desktop or of the main
// window. The form holds no state of its own: its controls are bound to the
// data module's table objects, which keep the current row and any pending
// edit after the form is gone. Closing neither posts nor cancels; text still
// being typed in an edit is written to its field first, so it is kept with
// the pending row (text the field refuses is reported and the form stays).
class RecordEditorForm : public QDialog {
    Q_OBJECT
public:
    enum class Placement { Desktop, MainWindow };

protected:
    // mainWindow is the window the form is centred on with
    // Placement::MainWindow; it does not own the form.
    RecordEditorForm(const char* name, const QString& caption, QSize client, Placement placement, QWidget* mainWindow);

    QLabel* addLabel(const QString& text, QPoint at);
    DbEdit* addEdit(const char* name, const QRect& geometry, dataset::DataSource* source, const QString& field,
                    int maxChars = 0);
    DbLookupComboBox* addLookup(const char* name, const QRect& geometry, dataset::DataSource* source,
                                const QString& field, dataset::DataSource* listSource, const QString& listField);
    DbNavigator* addNavigator(const QRect& geometry, dataset::DataSource* source);
    // The order Tab goes through the controls; the first takes the focus when
    // the form opens.
    void setTabChain(std::initializer_list<QWidget*> chain);

    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void place();

    Placement placement_;
    QPointer<QWidget> mainWindow_;
    bool placed_ = false;
};

} // namespace kb::editors
