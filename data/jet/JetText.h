#pragma once

#include <QString>

// Text as Jet 4 stores it: UTF-16 little-endian, or, when the bytes start
// with FF FE, "compressed": one byte per character whose high byte is zero,
// a zero byte switching between such single bytes and plain UTF-16 pairs.
namespace kb::jet {

QString decodeText(const unsigned char* bytes, int length);

} // namespace kb::jet
