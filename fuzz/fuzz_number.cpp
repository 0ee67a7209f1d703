// The strict text-to-number conversion (text in SQL arithmetic) and the
// typed grammar (numbers typed into a field), on any text:
//  - UTF-8 and UTF-16 readings agree (the typed grammar: for ASCII text, as
//    only UTF-16 knows the other blanks);
//  - what the strict grammar takes the typed one takes, with the same value;
//  - an integer's value is the double's value, correctly rounded;
//  - a value read prints and reads back unchanged: an integer in decimal, a
//    double in its shortest form, and the program's shown form of a double
//    is a fixed point of showing what it reads.

#include "FuzzCheck.h"
#include "NumberText.h"
#include "ValueText.h"

#include <charconv>

namespace {

using namespace kb;

bool same(const number::Scanned& a, const number::Scanned& b) {
    return a.isValid() == b.isValid() && a.isIntegral() == b.isIntegral() && a.integer() == b.integer() &&
           a.real() == b.real();
}

bool isAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void checkRoundTrips(const number::Scanned& scanned, const QString& input) {
    if (const auto integer = scanned.integer()) {
        const QString printed = QString::number(*integer);
        fuzz::check(number::scan(printed, number::kStrict).integer() == integer, "an integer prints and reads back",
                    input);
        fuzz::check(scanned.real() == double(*integer), "an integer reads as the same double", input);
    }
    if (const auto real = scanned.real()) {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, *real);
        const std::string_view shortest(buffer, size_t(result.ptr - buffer));
        fuzz::check(number::scan(shortest, number::kTyped).real() == real, "a double prints and reads back",
                    input + QLatin1String(" -> ") + fuzz::utf8(shortest));
        const QString shown = text::display(Value(*real));
        const auto reread = text::parseFloat(shown);
        fuzz::check(reread.has_value() && text::display(Value(*reread)) == shown,
                    "the shown form of a double reads back to the same shown form",
                    input + QLatin1String(" -> ") + shown);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::bytes(data, size);
    const QString text = fuzz::utf8(bytes);

    const number::Scanned strict = number::scan(bytes, number::kStrict);
    const number::Scanned typed = number::scan(bytes, number::kTyped);
    fuzz::check(same(strict, number::scan(text, number::kStrict)), "strict: UTF-8 and UTF-16 agree", text);
    if (isAscii(bytes))
        fuzz::check(same(typed, number::scan(text, number::kTyped)), "typed: UTF-8 and UTF-16 agree", text);
    if (strict.isValid())
        fuzz::check(typed.isValid() && typed.real() == strict.real() && typed.integer() == strict.integer(),
                    "the typed grammar takes what the strict one takes", text);
    checkRoundTrips(typed, text);
    return 0;
}
