#include "NavButton.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace kb::databound {

void NavButton::setFocusFrame(bool shown) {
    if (focusFrame_ == shown)
        return;
    focusFrame_ = shown;
    update();
}

void NavButton::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (!focusFrame_)
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    // Styles draw the frame only for focus that the keyboard can move.
    frame.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    frame.rect = rect().adjusted(3, 3, -3, -3);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

} // namespace kb::databound
