#include "PageCanvas.h"

#include "Document.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <stdexcept>

namespace kb::documents {

namespace {
constexpr int kSmallestSize = 5;
}

QPageLayout pageLayout(QPageLayout::Orientation orientation) {
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

PageCanvas::PageCanvas(QPagedPaintDevice& device) : device_(device) {
    if (!painter_.begin(&device))
        throw std::runtime_error("Не удаётся начать печать документа");
    const double scale = device.logicalDpiX() / 72.0;
    painter_.scale(scale, device.logicalDpiY() / 72.0);
    const QRectF points = device.pageLayout().paintRect(QPageLayout::Point);
    area_ = QRectF(0, 0, points.width(), points.height());
}

PageCanvas::~PageCanvas() {
    painter_.end();
}

void PageCanvas::newPage() {
    if (!device_.newPage())
        throw std::runtime_error("Не удаётся начать новый лист документа");
}

void PageCanvas::pageNumber(int page, int pages) {
    const QFont small = font(8);
    text(QRectF(0, area_.bottom() - 12, area_.width(), 12), QStringLiteral("Лист %1 из %2").arg(page).arg(pages), small,
         Qt::AlignHCenter);
}

QFont PageCanvas::font(double size, bool bold) {
    // A pixel size follows the painter's scale, so one pixel is one point here.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qMax(1, qRound(size)));
    f.setBold(bold);
    return f;
}

void PageCanvas::text(const QRectF& rect, const QString& text, const QFont& font, int alignment) {
    // A text too wide for its place is set smaller, down to a size still readable, and only then cut short.
    QFont fitted = font;
    while (fitted.pixelSize() > kSmallestSize && QFontMetricsF(fitted).horizontalAdvance(text) > rect.width())
        fitted.setPixelSize(fitted.pixelSize() - 1);
    painter_.setFont(fitted);
    const QFontMetricsF metrics(fitted);
    const QString shown =
        metrics.horizontalAdvance(text) > rect.width() ? metrics.elidedText(text, Qt::ElideRight, rect.width()) : text;
    painter_.drawText(rect, alignment | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

} // namespace kb::documents
