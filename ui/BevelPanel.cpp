#include "BevelPanel.h"

#include <QPainter>

namespace kb::ui {

BevelPanel::BevelPanel(QWidget* parent, bool singleBorder, int bevelWidth, int innerBorder)
    : QWidget(parent), singleBorder_(singleBorder), bevelWidth_(bevelWidth) {
    const int margin = (singleBorder ? 1 : 0) + bevelWidth + innerBorder;
    setContentsMargins(margin, margin, margin, margin);
    setAutoFillBackground(true);
}

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect edge = rect().adjusted(0, 0, -1, -1);
    if (singleBorder_) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(edge);
        edge.adjust(1, 1, -1, -1);
    }
    for (int line = 0; line < bevelWidth_; ++line) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(edge.topLeft(), edge.topRight());
        painter.drawLine(edge.topLeft(), edge.bottomLeft());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(edge.bottomLeft(), edge.bottomRight());
        painter.drawLine(edge.topRight(), edge.bottomRight());
        edge.adjust(1, 1, -1, -1);
    }
}

} // namespace kb::ui
