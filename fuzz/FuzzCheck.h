#pragma once

#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

// A property check that stops the run with a message (libFuzzer keeps the input as a crash), and the input as text.
namespace kb::fuzz {
inline void check(bool holds, const char* property, const QString& detail = {}) {
    if (holds)
        return;
    const QByteArray text = detail.toUtf8(); // may hold characters 0
    std::fprintf(stderr, "property broken: %s\n", property);
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    std::fputc('\n', stderr);
    std::abort();
}

inline std::string_view bytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
inline QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline bool isAscii(std::string_view text) {
    return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The input split at its first byte 0 (the second part empty when there is none).
inline std::pair<std::string_view, std::string_view> splitAtZero(std::string_view input) {
    const size_t zero = input.find('\0');
    return zero == std::string_view::npos ? std::pair{input, std::string_view()}
                                          : std::pair{input.substr(0, zero), input.substr(zero + 1)};
}
} // namespace kb::fuzz
