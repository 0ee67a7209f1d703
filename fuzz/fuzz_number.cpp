// The strict text-to-number conversion (text in SQL arithmetic) and the typed grammar (numbers typed into a field).

#include "FuzzCheck.h"
#include "NumberText.h"
#include "ValueText.h"

#include <charconv>

using namespace kb;

static bool same(const sql::number::Scanned& a, const sql::number::Scanned& b) {
    return a.isValid() == b.isValid() && a.isIntegral() == b.isIntegral() && a.integer() == b.integer() &&
           a.real() == b.real();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::bytes(data, size);
    const QString text = fuzz::utf8(bytes);
    const sql::number::Scanned strict = sql::number::scan(bytes, sql::number::kStrict);
    const sql::number::Scanned typed = sql::number::scan(bytes, sql::number::kTyped);
    fuzz::check(same(strict, sql::number::scan(text, sql::number::kStrict)), "strict: UTF-8 and UTF-16 agree", text);
    if (fuzz::isAscii(bytes)) // only the UTF-16 reading knows the other blanks
        fuzz::check(same(typed, sql::number::scan(text, sql::number::kTyped)), "typed: UTF-8 and UTF-16 agree", text);
    if (strict.isValid())
        fuzz::check(typed.isValid() && typed.real() == strict.real() && typed.integer() == strict.integer(),
                    "the typed grammar takes what the strict one takes", text);

    if (const auto integer = typed.integer()) {
        fuzz::check(sql::number::scan(QString::number(*integer), sql::number::kStrict).integer() == integer,
                    "an integer prints and reads back", text);
        fuzz::check(typed.real() == double(*integer), "an integer reads as the same double", text);
    }
    if (const auto real = typed.real()) {
        char buffer[64];
        const std::string_view shortest(buffer, std::to_chars(buffer, buffer + sizeof buffer, *real).ptr);
        fuzz::check(sql::number::scan(shortest, sql::number::kTyped).real() == real, "a double prints and reads back",
                    text + " -> " + fuzz::utf8(shortest));
        const QString shown = text::display(sql::Value(*real));
        const auto reread = text::parseFloat(shown);
        fuzz::check(reread && text::display(sql::Value(*reread)) == shown,
                    "the shown form of a double reads back to the same shown form", text + " -> " + shown);
    }
    return 0;
}
