#include "DbEdit.h"

#include "BoundedText.h"
#include "DataSource.h"
#include "ErrorReporting.h"
#include "Field.h"
#include "MaskedTyping.h"
#include "ValueText.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>

namespace kb::databound {

namespace {

constexpr int kUnlimited = 32767;

// Keys that change a plain entry's text, so that the table object must be in edit state first.
bool changesText(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
        event->matches(QKeySequence::DeleteEndOfWord) || event->matches(QKeySequence::DeleteStartOfWord))
        return true;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    const QString text = event->text();
    return !text.isEmpty() && text[0].isPrint();
}

} // namespace

QChar localeDateSeparator() {
    for (QChar c : QLocale().dateFormat(QLocale::ShortFormat)) {
        if (!c.isLetter() && c != QLatin1Char('\''))
            return c;
    }
    return QLatin1Char('.');
}

DbEdit::DbEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, [this] { modified_ = true; });
}

void DbEdit::setDataSource(dataset::DataSource* source, const QString& fieldName) {
    fieldName_ = fieldName;
    link_.setDataSource(source); // binds to the field
}

void DbEdit::setMaxChars(int chars) {
    maxChars_ = chars;
    showField();
}

void DbEdit::dataSetReplaced() {
    const dataset::Field* f = field();
    mask_ =
        f && !f->editMaskText().isEmpty() ? text::EditMask(f->editMaskText(), localeDateSeparator()) : text::EditMask();
    showField();
}

dataset::Field* DbEdit::field() const {
    dataset::Table* table = link_.table();
    return table && !fieldName_.isEmpty() ? table->findField(fieldName_) : nullptr;
}

bool DbEdit::canChange() const {
    const dataset::Field* f = field();
    return f && !f->isReadOnly() && link_.table()->canModify();
}

void DbEdit::fieldChanged(int column) {
    const dataset::Field* f = field();
    if (f && f->column() == column)
        showField();
}

void DbEdit::rowChanged(int row) {
    const dataset::Table* table = link_.table();
    if (table && table->isActive() && row == table->currentRow())
        showField();
}

void DbEdit::showField() {
    modified_ = false;
    masked_ = false;
    setMaskedInput(false);
    const dataset::Field* f = field();
    setReadOnly(!f || f->isReadOnly());
    if (!f || !link_.table()->isActive()) {
        setMaxLength(kUnlimited);
        clear();
        return;
    }
    try {
        const QString display = f->displayText();
        const bool whole = display.size() <= kMaxShownChars;
        if (!whole)
            setReadOnly(true); // what it shows is not the value: it must not be written back
        const bool editing = whole && hasFocus() && canChange();
        masked_ = editing && !mask_.isEmpty();
        setMaskedInput(masked_);
        int limit = kUnlimited;
        if (editing && maxChars_ > 0)
            limit = maxChars_;
        else if (editing && f->type() == sql::FieldType::Text && f->maxLength() > 0)
            limit = f->maxLength();
        const QString text = editing ? (masked_ ? maskedEditText(*f) : f->editText()) : boundedForShow(display);
        // The limit holds back typing only: a longer stored value is shown whole, never cut.
        setMaxLength(std::max(limit, int(text.size())));
        setText(text);
        // Typing goes on at the end; a value merely shown shows its beginning.
        setCursorPosition(editing && !masked_ ? int(text.size()) : 0);
    } catch (...) {
        clear();
        ui::reportError(std::current_exception());
    }
}

// A masked entry takes text only from the keyboard, which keeps its shape;
// the context menu's paste and a drop would not.
void DbEdit::setMaskedInput(bool masked) {
    setContextMenuPolicy(masked ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    setAcceptDrops(!masked);
}

QString DbEdit::maskedEditText(const dataset::Field& field) const {
    const sql::Value v = field.value();
    if (v.isNull())
        return mask_.emptyText();
    if (v.kind() == sql::Value::Kind::DateTime) {
        const QString sep = localeDateSeparator();
        return mask_.toEditText(v.toDateTime().toString(QStringLiteral("dd%1MM%1yy").arg(sep)));
    }
    return mask_.toEditText(text::display(v));
}

void DbEdit::beginEdit() {
    dataset::Table* table = link_.table();
    if (table->isEditing())
        return;
    // Entering edit state shows the field afresh; the cursor stays where the user put it.
    const int cursor = cursorPosition();
    const int selectionFrom = selectionStart();
    const int selected = QLineEdit::selectionLength();
    table->edit();
    if (selectionFrom >= 0)
        setSelection(selectionFrom, selected);
    else
        setCursorPosition(cursor);
}

void DbEdit::writeTypedText() {
    dataset::Field* f = field();
    if (!f || !modified_)
        return;
    QString text = this->text();
    if (masked_) {
        text = mask_.toStored(text);
        if (f->type() == sql::FieldType::DateTime)
            text.replace(localeDateSeparator(), QLatin1Char('.'));
    }
    beginEdit();
    f->setText(text);
    modified_ = false;
}

void DbEdit::writePending() {
    try {
        writeTypedText();
    } catch (...) {
        setFocus(Qt::OtherFocusReason);
        throw;
    }
}

void DbEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && modified_) {
        showField();
        selectAll();
        event->accept();
        return;
    }
    if (isReadOnly() || !field()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    try {
        if (!mask_.isEmpty() && typeMasked(event))
            return;
        if (changesText(event))
            beginEdit();
        QLineEdit::keyPressEvent(event);
    } catch (...) {
        event->accept();
        ui::reportError(std::current_exception());
    }
}

// Keys that change a masked entry's text, handled here so that it keeps the
// mask's shape; false for keys left to the line edit (cursor movement).
bool DbEdit::typeMasked(QKeyEvent* event) {
    const bool paste = event->matches(QKeySequence::Paste);
    const bool erase = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    const QString typed = paste ? QApplication::clipboard()->text() : event->text();
    const bool printable = !typed.isEmpty() && typed[0].isPrint();
    if (!paste && !erase && !printable) {
        // Other editing shortcuts would break the mask's shape.
        if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo) ||
            event->matches(QKeySequence::Redo)) {
            event->accept();
            return true;
        }
        return false;
    }
    event->accept();
    beginEdit();
    const MaskedTyping typing(mask_);
    QString text = this->text();
    int cursor = cursorPosition();
    if (hasSelectedText())
        typing.erase(text, cursor, selectionStart(), selectionEnd());
    else if (event->key() == Qt::Key_Backspace)
        typing.eraseBack(text, cursor);
    else if (event->key() == Qt::Key_Delete)
        typing.erase(text, cursor, cursor, cursor + 1);
    if (!erase) {
        for (QChar ch : typed) {
            if (!typing.type(text, cursor, ch))
                break;
        }
    }
    if (text != this->text()) {
        setText(text);
        modified_ = true;
    }
    setCursorPosition(cursor);
    return true;
}

void DbEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!modified_)
        showField();
}

void DbEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another window or opening a menu is no leaving of the control.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    try {
        writeTypedText();
        showField();
    } catch (...) {
        // The control keeps the focus and the text, so the user can mend it or press Escape.
        setFocus(Qt::OtherFocusReason);
        ui::reportError(std::current_exception());
    }
}

} // namespace kb::databound
