#pragma once

#include <QString>

namespace kb::databound {

// The most characters a grid cell or an edit shows of one value. Laying out
// and painting a value of millions of characters holds the window for many
// seconds; a few thousand are more than any box or column can show.
inline constexpr int kMaxShownChars = 4096;

// The text as shown: whole up to kMaxShownChars, otherwise its beginning
// ending with "…" (kMaxShownChars characters in all, never half a
// surrogate pair).
QString boundedForShow(QString text);

} // namespace kb::databound
