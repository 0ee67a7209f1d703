// The strict text-to-number conversion (text in SQL arithmetic) and the typed grammar (numbers typed into a field).

#include "FuzzCheck.h"
#include "NumberText.h"
#include "ValueText.h"

#include <charconv>

using namespace kb;

static bool same(const number::Scanned& a, const number::Scanned& b) {
    return a.isValid() == b.isValid() && a.isIntegral() == b.isIntegral() && a.integer() == b.integer() &&
           a.real() == b.real();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::bytes(data, size);
    const QString text = fuzz::utf8(bytes);
    const number::Scanned strict = number::scan(bytes, number::kStrict);
    const number::Scanned typed = number::scan(bytes, number::kTyped);
    fuzz::check(same(strict, number::scan(text, number::kStrict)), "strict: UTF-8 and UTF-16 agree", text);
    if (fuzz::isAscii(bytes)) // only the UTF-16 reading knows the other blanks
        fuzz::check(same(typed, number::scan(text, number::kTyped)), "typed: UTF-8 and UTF-16 agree", text);
    if (strict.isValid())
        fuzz::check(typed.isValid() && typed.real() == strict.real() && typed.integer() == strict.integer(),
                    "the typed grammar takes what the strict one takes", text);

    if (const auto integer = typed.integer()) {
        fuzz::check(number::scan(QString::number(*integer), number::kStrict).integer() == integer,
                    "an integer prints and reads back", text);
        fuzz::check(typed.real() == double(*integer), "an integer reads as the same double", text);
    }
    if (const auto real = typed.real()) {
        char buffer[64];
        const std::string_view shortest(buffer,
                                        size_t(std::to_chars(buffer, buffer + sizeof buffer, *real).ptr - buffer));
        fuzz::check(number::scan(shortest, number::kTyped).real() == real, "a double prints and reads back",
                    text + " -> " + fuzz::utf8(shortest));
        const QString shown = text::display(Value(*real));
        const auto reread = text::parseFloat(shown);
        fuzz::check(reread && text::display(Value(*reread)) == shown,
                    "the shown form of a double reads back to the same shown form", text + " -> " + shown);
    }
    return 0;
}
