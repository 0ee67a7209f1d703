#include "MaskedTyping.h"

#include <algorithm>

namespace kb::databound {

bool MaskedTyping::type(QString& text, int& cursor, QChar ch) const {
    const int length = mask_.length();
    int pos = cursor;
    while (pos < length && mask_.isLiteral(pos))
        ++pos;
    if (pos < length && mask_.accepts(pos, ch)) {
        text[pos] = ch;
        cursor = pos + 1;
        while (cursor < length && mask_.isLiteral(cursor))
            ++cursor;
        return true;
    }
    // A literal typed steps past the next such literal, leaving the
    // positions before it unfilled: ")" after a two-digit area code.
    for (pos = cursor; pos < length; ++pos) {
        if (mask_.isLiteral(pos) && mask_.accepts(pos, ch)) {
            cursor = pos + 1;
            return true;
        }
    }
    return false;
}

void MaskedTyping::eraseBack(QString& text, int& cursor) const {
    int pos = std::min(cursor, mask_.length()) - 1;
    while (pos >= 0 && mask_.isLiteral(pos))
        --pos;
    if (pos < 0)
        return;
    text[pos] = mask_.blank();
    cursor = pos;
}

void MaskedTyping::erase(QString& text, int& cursor, int from, int to) const {
    from = std::clamp(from, 0, mask_.length());
    to = std::clamp(to, from, mask_.length());
    for (int pos = from; pos < to; ++pos) {
        if (!mask_.isLiteral(pos))
            text[pos] = mask_.blank();
    }
    cursor = from;
}

} // namespace kb::databound
