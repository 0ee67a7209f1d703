#include "SheetPrinter.h"

#include "Sheet.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace kb::spreadsheet {

using automation::AutoValue;

QString shownText(const Sheet& sheet, int row, int column) {
    const AutoValue* v = sheet.value(row, column);
    if (!v)
        return {};
    QLocale russian(QLocale::Russian, QLocale::Russia);
    russian.setNumberOptions(QLocale::OmitGroupSeparator); // as a general number format shows it
    switch (v->type()) {
    case AutoValue::Type::Text:
        return v->text();
    case AutoValue::Type::Int32:
        return QString::number(v->int32());
    case AutoValue::Type::Double:
        return russian.toString(v->number(), 'g', 15);
    case AutoValue::Type::Bool:
        return v->boolean() ? QStringLiteral("ИСТИНА") : QStringLiteral("ЛОЖЬ");
    case AutoValue::Type::DateTime:
        return v->dateTime().toString(v->dateTime().time() == QTime(0, 0) ? QStringLiteral("dd.MM.yyyy")
                                                                          : QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    default:
        return {};
    }
}

namespace {

// Geometry of the printed table in the painter's (scaled) coordinates.
struct Layout {
    std::vector<double> left; // left edge of each column, one more for the right edge
    double rowHeight;
};

Layout layoutOf(const Sheet& sheet, int columns, const QFontMetricsF& metrics) {
    Layout layout{{0.0}, metrics.height() * 1.4};
    const double charWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < columns; ++c)
        layout.left.push_back(layout.left.back() + sheet.columnWidth(c) * charWidth + charWidth * 5 / 7);
    return layout;
}

double penWidth(CellFormat::Line line, double dot) {
    switch (line) {
    case CellFormat::Line::Hair:
    case CellFormat::Line::Thin:
        return dot;
    case CellFormat::Line::Medium:
        return dot * 2;
    default:
        return dot * 3;
    }
}

void paintRow(QPainter& painter, const Sheet& sheet, const Layout& layout, int row, double top, double dot) {
    for (int c = 0; c + 1 < int(layout.left.size()); ++c) {
        const QRectF cell(layout.left[size_t(c)], top, layout.left[size_t(c) + 1] - layout.left[size_t(c)],
                          layout.rowHeight);
        const CellFormat look = sheet.format(row, c);
        if (look.border != CellFormat::Line::None) {
            painter.setPen(QPen(Qt::black, penWidth(look.border, dot)));
            painter.drawRect(cell);
        }
        const AutoValue* v = sheet.value(row, c);
        Qt::Alignment align = Qt::AlignLeft;
        if (look.align == CellFormat::Align::Centre)
            align = Qt::AlignHCenter;
        else if (look.align == CellFormat::Align::Right ||
                 (look.align == CellFormat::Align::General && v && v->type() != AutoValue::Type::Text))
            align = Qt::AlignRight;
        painter.setPen(QPen(Qt::black, dot));
        painter.drawText(cell.adjusted(dot * 3, 0, -dot * 3, 0), int(align | Qt::AlignVCenter),
                         shownText(sheet, row, c));
    }
}

} // namespace

void printSheet(const Sheet& sheet, QPrinter& printer) {
    const auto used = sheet.usedBlock();
    if (!used)
        throw std::runtime_error("Лист пуст: печатать нечего");
    printer.setPageOrientation(sheet.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error(
            QStringLiteral("Не удалось начать печать на принтере \"%1\"").arg(printer.printerName()).toStdString());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const Layout layout = layoutOf(sheet, used->last.column + 1, QFontMetricsF(font, &printer));
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(1.0, page.width() / layout.left.back());
    painter.scale(scale, scale);
    const double dot = printer.resolution() / 96.0;
    const double height = page.height() / scale;
    const int perPage = std::max(1, int(height / layout.rowHeight) - 1); // rows after the repeated title row
    paintRow(painter, sheet, layout, 0, 0, dot);
    double top = layout.rowHeight;
    int onPage = 0;
    for (int row = 1; row <= used->last.row; ++row, ++onPage) {
        if (onPage == perPage) {
            printer.newPage();
            paintRow(painter, sheet, layout, 0, 0, dot);
            top = layout.rowHeight;
            onPage = 0;
        }
        paintRow(painter, sheet, layout, row, top, dot);
        top += layout.rowHeight;
    }
    painter.end();
}

} // namespace kb::spreadsheet
