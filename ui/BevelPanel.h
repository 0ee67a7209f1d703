#pragma once

#include <QWidget>

namespace kb::ui {

// A panel in the classic raised look: an optional single dark line round the
// edge, inside it a raised bevel (light above and left, dark below and
// right) of the given width, and then an empty inner border. A layout on the
// panel places its contents inside all three.
class BevelPanel : public QWidget {
public:
    BevelPanel(QWidget* parent, bool singleBorder, int bevelWidth, int innerBorder);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool singleBorder_;
    int bevelWidth_;
};

} // namespace kb::ui
