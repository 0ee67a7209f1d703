#include "DataSet.h"

#include "DbError.h"

#include <QMetaMethod>

namespace kb::dataset {

int DataSet::currentRow() const {
    settleCursor();
    return current_;
}

bool DataSet::bof() const {
    settleCursor();
    return bof_;
}

bool DataSet::eof() const {
    settleCursor();
    return eof_;
}

sql::Value DataSet::currentValue(int column) const {
    throwIfInactive();
    const int row = currentRow();
    if (row < 0)
        return {};
    return value(row, column);
}

bool DataSet::isEmpty() const {
    return !isActive() || recordCount() == 0;
}

void DataSet::first() {
    throwIfInactive();
    if (recordCount() == 0)
        setCursor(-1, true, true);
    else
        setCursor(0, true, false);
}

void DataSet::last() {
    throwIfInactive();
    const int count = recordCount();
    if (count == 0)
        setCursor(-1, true, true);
    else
        setCursor(count - 1, false, true);
}

void DataSet::next() {
    step(true);
}

void DataSet::prior() {
    step(false);
}

// Moving clears both flags; failing to move (on the last row forward, on the
// first back) sets eof or bof. Once that flag is set, moving that way does nothing.
void DataSet::step(bool forward) {
    throwIfInactive();
    settleCursor();
    const int count = recordCount();
    if (count == 0) {
        setCursor(-1, true, true);
        return;
    }
    if (forward ? eof_ : bof_)
        return;
    const int row = current_ + (forward ? 1 : -1);
    if (row >= 0 && row < count)
        setCursor(row, false, false);
    else
        setCursor(current_, !forward, forward);
}

void DataSet::moveTo(int row) {
    throwIfInactive();
    if (row < 0 || row >= recordCount())
        throw sql::DbError(
            QStringLiteral("Записи с номером %1 нет: в наборе данных %2 записей").arg(row + 1).arg(recordCount()));
    setCursor(row, false, false);
}

void DataSet::setCursor(int row, bool bof, bool eof, bool alwaysNotify) {
    if (isActive())
        settleCursor();
    else // closed before anyone asked where it stood: there is no position to leave
        atFirstRow_ = false;
    const bool changed = row != current_ || bof != bof_ || eof != eof_;
    current_ = row;
    bof_ = bof;
    eof_ = eof;
    if (changed || alwaysNotify)
        emit currentRowChanged(row);
}

void DataSet::setCursorToFirstRow() {
    static const QMetaMethod rowSignal = QMetaMethod::fromSignal(&DataSet::currentRowChanged);
    if (isSignalConnected(rowSignal)) {
        DataSet::first();
        return;
    }
    atFirstRow_ = true;
}

void DataSet::settleCursor() const {
    if (!atFirstRow_ || !isActive())
        return;
    const int count = recordCount(); // may read the rows; a failed read leaves the position unfixed
    atFirstRow_ = false;
    current_ = count > 0 ? 0 : -1;
    bof_ = true;
    eof_ = count == 0;
}

void DataSet::throwIfInactive() const {
    if (isActive())
        return;
    if (objectName().isEmpty())
        throw sql::DbError(QStringLiteral("Набор данных закрыт: операция невозможна"));
    throw sql::DbError(QStringLiteral("Набор данных %1 закрыт: операция невозможна").arg(objectName()));
}

} // namespace kb::dataset
