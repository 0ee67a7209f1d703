#pragma once

#include <QFlags>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace kb::ui {

// Places widgets of a window laid out for one size at any other size: each
// widget keeps its distance to the edges it is anchored to, and stretches
// when anchored to both opposite edges.
class AnchoredPlacement {
public:
    enum Anchor { Left = 0x1, Top = 0x2, Right = 0x4, Bottom = 0x8 };
    Q_DECLARE_FLAGS(Anchors, Anchor)

    explicit AnchoredPlacement(QSize designedSize) : designedSize_(designedSize) {}

    // Gives the widget its designed geometry and remembers its anchors.
    void add(QWidget* widget, const QRect& designed, Anchors anchors);
    // Places every widget for the size of their common parent.
    void apply(QSize size) const;

private:
    struct Entry {
        QWidget* widget;
        QRect designed;
        Anchors anchors;
    };
    QSize designedSize_;
    std::vector<Entry> entries_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(AnchoredPlacement::Anchors)

} // namespace kb::ui
