#include "DataSet.h"

#include "DbError.h"

namespace kb {

Value DataSet::currentValue(int column) const {
    throwIfInactive();
    if (current_ < 0)
        return {};
    return value(current_, column);
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

// Moving forward clears both flags; failing to move (on the last row) sets eof.
// Once eof is set, next() does nothing.
void DataSet::next() {
    throwIfInactive();
    const int count = recordCount();
    if (count == 0) {
        setCursor(-1, true, true);
        return;
    }
    if (eof_)
        return;
    if (current_ < count - 1)
        setCursor(current_ + 1, false, false);
    else
        setCursor(current_, false, true);
}

void DataSet::prior() {
    throwIfInactive();
    const int count = recordCount();
    if (count == 0) {
        setCursor(-1, true, true);
        return;
    }
    if (bof_)
        return;
    if (current_ > 0)
        setCursor(current_ - 1, false, false);
    else
        setCursor(current_, true, false);
}

void DataSet::moveTo(int row) {
    throwIfInactive();
    if (row < 0 || row >= recordCount())
        throw DbError(
            QStringLiteral("Записи с номером %1 нет: в наборе данных %2 записей").arg(row + 1).arg(recordCount()));
    setCursor(row, false, false);
}

void DataSet::setCursor(int row, bool bof, bool eof, bool alwaysNotify) {
    const bool changed = row != current_ || bof != bof_ || eof != eof_;
    current_ = row;
    bof_ = bof;
    eof_ = eof;
    if (changed || alwaysNotify)
        emit currentRowChanged(row);
}

void DataSet::throwIfInactive() const {
    if (isActive())
        return;
    if (objectName().isEmpty())
        throw DbError(QStringLiteral("Набор данных закрыт: операция невозможна"));
    throw DbError(QStringLiteral("Набор данных %1 закрыт: операция невозможна").arg(objectName()));
}

} // namespace kb
