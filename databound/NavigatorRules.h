#pragma once

#include <array>
#include <cstddef>

namespace kb::dataset {
class DataSet;
} // namespace kb::dataset

namespace kb::databound {

// The record navigator's buttons, left to right.
enum class NavigatorButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
inline constexpr int kNavigatorButtonCount = 10;

using NavigatorEnabling = std::array<bool, kNavigatorButtonCount>;

inline bool enables(const NavigatorEnabling& enabling, NavigatorButton button) {
    return enabling[std::size_t(button)];
}

// Which buttons a navigator over this data set enables (none without one or
// while it is closed). First and prior are off at the beginning (the cursor's
// bof flag), next and last at the end (eof); insert and refresh need a data
// set that can be modified (an open table object), edit one that is not being
// edited, post and cancel one that is being edited or inserted into, delete
// one that is not empty (not at its beginning and its end at once).
//
// Never throws: when the rows of a table cannot be read, the buttons that
// depend on the position are off and the others follow the state, so the
// user's next action meets the error and the default error handler shows it.
NavigatorEnabling navigatorEnabling(const dataset::DataSet* dataSet) noexcept;

} // namespace kb::databound
