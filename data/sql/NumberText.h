#pragma once

#include <QStringView>
#include <optional>
#include <string>
#include <string_view>

// The one reader of numbers written as text:
//   [blanks] [sign] digits [separator digits] [exponent] [blanks]
// with a point or a comma as the decimal separator. The grammar's variants are
// options, so that the strict conversion of text in SQL arithmetic and the
// numbers a user types into a field are read by the same code.
namespace kb::sql::number {

// What may stand around a number.
enum class Blanks {
    Ascii, // blank, tab, carriage return, line feed
    Any    // every character QChar::isSpace() takes for a blank; in UTF-8 text only the ASCII ones
};

struct Grammar {
    bool exponent;  // an exponent may follow the digits: 1,5e3, 2E-7
    bool emptySide; // one side of the separator may be empty (",5", "5,"), never both
    Blanks blanks;
};

// The strict conversion of a text used in SQL arithmetic.
inline constexpr Grammar kStrict{false, false, Blanks::Ascii};
// A number typed into a field.
inline constexpr Grammar kTyped{true, true, Blanks::Any};

// A text read by the grammar, kept in the form std::from_chars reads (which,
// unlike strtod, does not depend on the process locale).
class Scanned {
public:
    bool isValid() const { return valid_; }
    // Neither separator nor exponent.
    bool isIntegral() const { return integral_; }
    // An integral text within 64 bits.
    std::optional<qint64> integer() const;
    // Any valid text within the range of a double.
    std::optional<double> real() const;

private:
    template <typename Char> friend Scanned scanText(const Char* text, qsizetype length, const Grammar& grammar);

    void reserve(size_t size);
    void append(char c) { data()[length_++] = c; }
    char* data() { return large_.empty() ? small_ : large_.data(); }
    const char* data() const { return large_.empty() ? small_ : large_.data(); }

    char small_[64];    // usually enough: no allocation
    std::string large_; // used when the text is longer
    size_t length_ = 0;
    bool valid_ = false;
    bool integral_ = false;
};

Scanned scan(std::string_view utf8, const Grammar& grammar);
Scanned scan(QStringView text, const Grammar& grammar);

} // namespace kb::sql::number
