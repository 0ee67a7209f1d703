#include "AnchoredPlacement.h"

#include <QWidget>

namespace kb::ui {

namespace {

// One axis: the start and the length for a growth of the parent by delta.
std::pair<int, int> placeOnAxis(int start, int length, int delta, bool nearEdge, bool farEdge) {
    if (nearEdge && farEdge)
        return {start, length + delta};
    if (farEdge)
        return {start + delta, length};
    return {start, length};
}

} // namespace

void AnchoredPlacement::add(QWidget* widget, const QRect& designed, Anchors anchors) {
    widget->setGeometry(designed);
    entries_.push_back({widget, designed, anchors});
}

void AnchoredPlacement::apply(QSize size) const {
    const int dx = size.width() - designedSize_.width();
    const int dy = size.height() - designedSize_.height();
    for (const Entry& entry : entries_) {
        const auto [x, width] = placeOnAxis(entry.designed.x(), entry.designed.width(), dx,
                                            entry.anchors.testFlag(Left), entry.anchors.testFlag(Right));
        const auto [y, height] = placeOnAxis(entry.designed.y(), entry.designed.height(), dy,
                                             entry.anchors.testFlag(Top), entry.anchors.testFlag(Bottom));
        entry.widget->setGeometry(x, y, width, height);
    }
}

} // namespace kb::ui
