#include "NumberText.h"

#include <QChar>
#include <charconv>
#include <type_traits>

namespace kb::sql::number {

namespace {

template <typename Char> bool isBlank(Char c, Blanks blanks) {
    const auto u = char32_t(std::make_unsigned_t<Char>(c));
    if (blanks == Blanks::Ascii)
        return u == ' ' || u == '\t' || u == '\r' || u == '\n';
    if constexpr (sizeof(Char) == 1)
        return u < 0x80 && QChar(char16_t(u)).isSpace(); // a byte above 0x7f is part of a longer character
    else
        return QChar(char16_t(u)).isSpace();
}

template <typename Char> bool isDigit(Char c) {
    return c >= Char('0') && c <= Char('9');
}

} // namespace

void Scanned::reserve(size_t size) {
    if (size > sizeof small_)
        large_.resize(size);
}

std::optional<qint64> Scanned::integer() const {
    if (!valid_ || !integral_)
        return std::nullopt;
    qint64 value = 0;
    const auto [ptr, ec] = std::from_chars(data(), data() + length_, value);
    if (ec != std::errc() || ptr != data() + length_)
        return std::nullopt; // beyond the range of 64 bits
    return value;
}

std::optional<double> Scanned::real() const {
    if (!valid_)
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(data(), data() + length_, value);
    if (ec != std::errc() || ptr != data() + length_)
        return std::nullopt; // beyond the range of a double
    return value;
}

template <typename Char> Scanned scanText(const Char* s, qsizetype n, const Grammar& g) {
    Scanned out;
    qsizetype i = 0;
    while (i < n && isBlank(s[i], g.blanks))
        ++i;
    while (n > i && isBlank(s[n - 1], g.blanks))
        --n;
    // The sign, the digits, a point and an 'e' at the most: never longer than the text and a '-'.
    out.reserve(size_t(n - i) + 1);
    const auto sign = [&] {
        if (i < n && (s[i] == Char('-') || s[i] == Char('+'))) {
            if (s[i] == Char('-')) // from_chars takes no '+'
                out.append('-');
            ++i;
        }
    };
    const auto digits = [&] {
        const qsizetype begin = i;
        for (; i < n && isDigit(s[i]); ++i)
            out.append(char(s[i]));
        return i - begin;
    };

    sign();
    const qsizetype intDigits = digits();
    qsizetype fracDigits = 0;
    const bool separator = i < n && (s[i] == Char('.') || s[i] == Char(','));
    if (separator) {
        ++i;
        out.append('.');
        fracDigits = digits();
    }
    const bool enoughDigits =
        g.emptySide ? intDigits + fracDigits > 0 : intDigits > 0 && (!separator || fracDigits > 0);
    if (!enoughDigits)
        return out;
    const bool exponent = g.exponent && i < n && (s[i] == Char('e') || s[i] == Char('E'));
    if (exponent) {
        ++i;
        out.append('e');
        sign();
        if (digits() == 0)
            return out;
    }
    out.valid_ = i == n;
    out.integral_ = !separator && !exponent;
    return out;
}

Scanned scan(std::string_view utf8, const Grammar& grammar) {
    return scanText(utf8.data(), qsizetype(utf8.size()), grammar);
}

Scanned scan(QStringView text, const Grammar& grammar) {
    return scanText(text.utf16(), text.size(), grammar);
}

} // namespace kb::sql::number
