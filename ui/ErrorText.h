#pragma once

#include <QString>

namespace kb::ui {

// The text an error box shows for an error's message: a full stop is added
// when the message's last character sorts after "." (a letter or a digit
// ends it), and not when it ends in "." or "!" or any other character that
// sorts at or before "."; an empty message stays empty.
QString withFullStop(const QString& message);

} // namespace kb::ui
