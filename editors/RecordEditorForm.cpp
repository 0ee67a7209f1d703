#include "RecordEditorForm.h"

#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "DbNavigator.h"
#include "ErrorReporting.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace kb::editors {

namespace {

// Tahoma 8 points is 11 pixels on the 96-dpi screen the forms were laid out for.
constexpr int kFontPixels = 11;

QFont formFont(bool bold) {
    QFont font = QApplication::font();
    font.setPixelSize(kFontPixels);
    font.setBold(bold);
    return font;
}

} // namespace

RecordEditorForm::RecordEditorForm(const char* name, const QString& caption, QSize client, Placement placement,
                                   QWidget* mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), placement_(placement), mainWindow_(mainWindow) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setFont(formFont(false));
    setFixedSize(client);
    setSizeGripEnabled(false);
    place();
}

QLabel* RecordEditorForm::addLabel(const QString& text, QPoint at) {
    auto* label = new QLabel(text, this);
    label->setFont(formFont(true));
    label->move(at);
    label->adjustSize();
    return label;
}

DbEdit* RecordEditorForm::addEdit(const char* name, const QRect& geometry, dataset::DataSource* source,
                                  const QString& field, int maxChars) {
    auto* edit = new DbEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setMaxChars(maxChars);
    edit->setDataSource(source, field);
    return edit;
}

DbLookupComboBox* RecordEditorForm::addLookup(const char* name, const QRect& geometry, dataset::DataSource* source,
                                              const QString& field, dataset::DataSource* listSource,
                                              const QString& listField) {
    auto* lookup = new DbLookupComboBox(this);
    lookup->setObjectName(QString::fromLatin1(name));
    lookup->setGeometry(geometry);
    lookup->setListSource(listSource, QStringLiteral("ID"), listField);
    lookup->setDataSource(source, field);
    return lookup;
}

DbNavigator* RecordEditorForm::addNavigator(const QRect& geometry, dataset::DataSource* source) {
    auto* navigator = new DbNavigator(this);
    navigator->setObjectName(QStringLiteral("DBNavigator1"));
    navigator->setGeometry(geometry);
    navigator->setDataSource(source);
    return navigator;
}

void RecordEditorForm::setTabChain(std::initializer_list<QWidget*> chain) {
    QWidget* previous = nullptr;
    for (QWidget* widget : chain) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        else
            widget->setFocus(); // taken when the form is first shown
        previous = widget;
    }
}

void RecordEditorForm::done(int result) {
    // Typed text goes with the pending row rather than with the form.
    for (DbEdit* edit : findChildren<DbEdit*>()) {
        try {
            edit->writeTypedText();
        } catch (...) {
            edit->setFocus(Qt::OtherFocusReason);
            ui::reportError(std::current_exception());
            return;
        }
    }
    QDialog::done(result);
}

void RecordEditorForm::keyPressEvent(QKeyEvent* event) {
    // The form has no Cancel button: Escape closes nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void RecordEditorForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once on the screen the window frame is known; centre it again with it.
    if (!placed_) {
        placed_ = true;
        place();
    }
}

void RecordEditorForm::place() {
    QRect area;
    if (placement_ == Placement::MainWindow && mainWindow_ && mainWindow_->isVisible())
        area = mainWindow_->frameGeometry();
    else if (const QScreen* desktop = mainWindow_ ? mainWindow_->screen() : QGuiApplication::primaryScreen())
        area = desktop->availableGeometry();
    if (area.isValid())
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(), area).topLeft());
}

} // namespace kb::editors
