#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;

namespace kb::documents {

// A painter on a paged device that measures in typographic points from the
// top-left corner of the printable area, whatever the device's resolution.
class PageCanvas {
public:
    explicit PageCanvas(QPagedPaintDevice& device);
    ~PageCanvas();
    PageCanvas(const PageCanvas&) = delete;
    PageCanvas& operator=(const PageCanvas&) = delete;

    QPainter& painter() { return painter_; }
    // The printable area in points, at 0, 0.
    QRectF area() const { return area_; }
    // Ends the page and starts the next one.
    void newPage();
    // "Лист N из M" centred under the printable area's bottom.
    void pageNumber(int page, int pages);

    // The documents' font, size in points.
    static QFont font(double size, bool bold = false);
    // Writes text in the font into rect, aligned; set smaller, then elided at the right, when it does not fit.
    void text(const QRectF& rect, const QString& text, const QFont& font, int alignment = Qt::AlignLeft);

private:
    QPagedPaintDevice& device_;
    QPainter painter_;
    QRectF area_;
};

} // namespace kb::documents
