#include "BoundedText.h"

namespace kb::databound {

QString boundedForShow(QString text) {
    if (text.size() <= kMaxShownChars)
        return text;
    qsizetype kept = kMaxShownChars - 1;
    if (text.at(kept - 1).isHighSurrogate())
        --kept;
    text.truncate(kept);
    text.append(QChar(0x2026));
    return text;
}

} // namespace kb::databound
