#include "JetText.h"

namespace kb::jet {

namespace {

void appendPairs(QString& text, const unsigned char* bytes, int from, int to) {
    for (int i = from; i + 1 < to; i += 2)
        text.append(QChar(char16_t(bytes[i] | (bytes[i + 1] << 8))));
}

} // namespace

QString decodeText(const unsigned char* bytes, int length) {
    QString text;
    if (length < 2 || bytes[0] != 0xff || bytes[1] != 0xfe) {
        appendPairs(text, bytes, 0, length);
        return text;
    }
    // Compressed: the zero bytes cut the text into segments, single-byte and
    // UTF-16 by turns, beginning with single bytes. Jet compresses a text only
    // when none of its UTF-16 characters holds a zero byte.
    bool single = true;
    int start = 2;
    for (int i = 2; i <= length; ++i) {
        if (i < length && bytes[i] != 0)
            continue;
        if (single) {
            for (int k = start; k < i; ++k)
                text.append(QChar(char16_t(bytes[k])));
        } else {
            appendPairs(text, bytes, start, i);
        }
        single = !single;
        start = i + 1;
    }
    return text;
}

} // namespace kb::jet
