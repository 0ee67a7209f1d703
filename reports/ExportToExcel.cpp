#include "ExportToExcel.h"

#include "ClassRegistry.h"
#include "Dispatch.h"
#include "Query.h"
#include "ResultGrid.h"

#include <QApplication>
#include <QChar>
#include <limits>

namespace kb::reports {

using automation::AutoValue;
using automation::ObjectRef;

namespace {

// A column's letter: "A" for 0. A single letter reaches 26 columns, more
// than any result of the program has.
QString letter(int column) {
    return QString(QChar(u'A' + column));
}

QString cell(int column, int row) {
    return letter(column) + QString::number(row);
}

// A field's value as its own type: a whole number that fits 32 bits as an
// integer, a larger one as a double.
AutoValue typed(const sql::Value& value) {
    switch (value.kind()) {
    case sql::Value::Kind::Null:
        return AutoValue::null();
    case sql::Value::Kind::Integer: {
        const qint64 n = value.toInt();
        if (n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max())
            return AutoValue(qint32(n));
        return AutoValue(double(n));
    }
    case sql::Value::Kind::Float:
        return AutoValue(value.toDouble());
    case sql::Value::Kind::Text:
        return AutoValue(value.text());
    case sql::Value::Kind::DateTime:
        return AutoValue(value.toDateTime());
    }
    return AutoValue::null();
}

void formatBlock(automation::Dispatch& excel, const QString& block) {
    automation::method(*automation::indexedRead(excel, QStringLiteral("Range"), {AutoValue(block)}),
                       QStringLiteral("Select"));
    automation::write(
        *automation::read(*automation::read(excel, QStringLiteral("Selection")), QStringLiteral("Borders")),
        QStringLiteral("LineStyle"), AutoValue(qint32(1)));
    automation::write(
        *automation::read(*automation::read(excel, QStringLiteral("Selection")), QStringLiteral("Borders")),
        QStringLiteral("Weight"), AutoValue(qint32(3)));
    automation::write(*automation::read(excel, QStringLiteral("Selection")), QStringLiteral("HorizontalAlignment"),
                      AutoValue(qint32(3)));
}

void printAndQuit(automation::Dispatch& excel) {
    automation::write(
        *automation::read(*automation::read(excel, QStringLiteral("ActiveSheet")), QStringLiteral("PageSetup")),
        QStringLiteral("Orientation"), AutoValue(qint32(2)));
    automation::method(*automation::read(excel, QStringLiteral("Worksheets")), QStringLiteral("PrintOut"));
    automation::write(excel, QStringLiteral("DisplayAlerts"), AutoValue(false));
    automation::method(excel, QStringLiteral("Quit"));
}

// The busy cursor for as long as the export runs.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

// Each handle lives in the statement that obtains it, so every one is
// released as soon as the call on it returns, also when that call throws.
void exportToExcel(const automation::ClassRegistry& registry, dataset::Query& query, const databound::ResultGrid& grid,
                   bool print) {
    ObjectRef excel; // released after the busy cursor ends: our server may show a message then
    const BusyCursor busy;
    excel = registry.create(QStringLiteral("Excel.Application"));
    automation::method(*automation::read(*excel, QStringLiteral("Workbooks")), QStringLiteral("Add"));
    automation::write(*excel, QStringLiteral("Visible"), AutoValue(true));

    formatBlock(*excel,
                QStringLiteral("A1:") + letter(query.fieldCount() - 1) + QString::number(query.recordCount() + 1));

    const int fields = query.fieldCount();
    for (int i = 0; i < fields; ++i) {
        const QString title = grid.columnTitle(i);
        automation::write(*excel, QStringLiteral("Range"), AutoValue(cell(i, 1)), AutoValue(title));
        automation::write(*automation::indexedRead(*excel, QStringLiteral("Columns"), {AutoValue(qint32(i + 1))}),
                          QStringLiteral("ColumnWidth"), AutoValue(qint32(25)));
    }

    query.first();
    const int records = query.recordCount();
    for (int r = 0; r < records; ++r) {
        const int columns = query.fieldCount();
        for (int c = 0; c < columns; ++c)
            automation::write(*excel, QStringLiteral("Range"), AutoValue(cell(c, r + 2)), typed(query.fieldValue(c)));
        query.next();
    }

    if (print)
        printAndQuit(*excel);
}

} // namespace kb::reports
