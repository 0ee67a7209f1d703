#pragma once

#include <QToolButton>

namespace kb::databound {

// One button of the record navigator. It never takes the focus itself; while
// the navigator has the focus, the button the keyboard acts on carries the
// style's focus frame.
class NavButton : public QToolButton {
public:
    using QToolButton::QToolButton;

    void setFocusFrame(bool shown);
    bool hasFocusFrame() const { return focusFrame_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool focusFrame_ = false;
};

} // namespace kb::databound
