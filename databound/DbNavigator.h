#pragma once

#include "DataLink.h"
#include "DataSet.h"
#include "DataSource.h"
#include "NavigatorRules.h"

#include <QWidget>
#include <array>

namespace kb::databound {

class NavButton;

// The record navigator of the record editors: ten picture buttons, left to
// right first, prior, next, last, insert, delete, edit, post, cancel and
// refresh, each acting on the data set of its data source. The buttons share
// the navigator's width evenly and fill its height; they have no hints. The
// navigator takes the focus from Tab or a click; Left and Right then choose a
// button, which shows the focus frame, and Space presses it.
//
// Which buttons are enabled follows navigatorEnabling() and is worked out
// again whenever the row, the edit state or the rows change, when the data
// set opens or closes and when the data source is given another data set.
//
// A click first takes the focus (as a click on any control does), so that a
// data-bound control being typed in writes its text into the field before the
// navigator acts; a control that refuses to let the focus go (its text does
// not convert) keeps it, and the click does nothing. Delete asks "Delete
// record?" through the modal helpers first. An action that fails is shown by
// the default error handler and leaves the data set as the failure left it
// (a post the database refuses stays in its edit state).
class DbNavigator : public QWidget, private dataset::DataLink::Client {
    Q_OBJECT
public:
    explicit DbNavigator(QWidget* parent = nullptr);

    void setDataSource(dataset::DataSource* source);
    dataset::DataSource* dataSource() const { return link_.dataSource(); }
    dataset::DataSet* dataSet() const { return link_.dataSet(); }

    NavButton* button(NavigatorButton which) const { return buttons_[size_t(which)]; }
    // The button Space presses while the navigator has the focus.
    NavigatorButton focusedButton() const { return NavigatorButton(focused_); }

    // What a click on the button does, with no error handling: throws what
    // the action throws. Does nothing while the button is disabled.
    void act(NavigatorButton which);

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void dataSetReplaced() override { updateButtons(); }
    void dataSetReset() override { updateButtons(); }
    void currentRowChanged(int) override { updateButtons(); }
    void rowInserted(int) override { updateButtons(); }
    void rowRemoved(int) override { updateButtons(); }
    void stateChanged() override { updateButtons(); }
    void clicked(NavigatorButton which) noexcept;
    void updateButtons();
    void placeButtons();
    bool takeFocus();
    void showFocusOn(int button);

    std::array<NavButton*, kNavigatorButtonCount> buttons_{};
    int focused_ = 0;
    dataset::DataLink link_{*this};
};

} // namespace kb::databound
