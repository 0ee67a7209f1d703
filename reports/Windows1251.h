#pragma once

#include <QByteArray>
#include <QString>

namespace kb::reports {

// The text in the Windows-1251 (Cyrillic) code page, without a byte-order
// mark. Throws std::runtime_error naming the first character the code page
// cannot hold; nothing is ever replaced silently.
QByteArray toWindows1251(const QString& text);

} // namespace kb::reports
