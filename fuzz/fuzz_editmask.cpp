// The edit mask on any mask and value (input: mask, byte 0, value).

#include "EditMask.h"
#include "FuzzCheck.h"

#include <optional>
#include <stdexcept>

using namespace kb;

static std::optional<QString> stored(const text::EditMask& mask, const QString& editText) {
    try {
        return mask.toStored(editText);
    } catch (const std::invalid_argument& e) {
        fuzz::check(QLatin1String(e.what()) == QLatin1String(text::EditMask::kIncompleteMessage),
                    "the mask refuses with its message");
        return std::nullopt;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto [maskText, valueText] = fuzz::splitAtZero(fuzz::bytes(data, size));
    const text::EditMask mask(fuzz::utf8(maskText));
    const QString value = fuzz::utf8(valueText);
    const QString context = fuzz::utf8(maskText) + " / " + value;

    const QString empty = mask.emptyText();
    fuzz::check(empty.size() == mask.length(), "the empty edit text has one character per position", context);
    for (int pos = 0; pos < mask.length(); ++pos)
        fuzz::check(!mask.isLiteral(pos) || mask.accepts(pos, empty[pos]), "the literals stand in place", context);
    const QString shown = mask.toEditText(value);
    fuzz::check(mask.isEmpty() || shown.size() == mask.length(), "the edit text has one character per position",
                context);
    stored(mask, value); // typed as it is
    // Without its literals a value loses the blanks of its optional positions ("(   )456-7890" stores "4567890").
    const auto kept = stored(mask, shown);
    if (kept && mask.savesLiterals())
        fuzz::check(mask.fits(*kept), "a stored value shows and stores again unchanged",
                    context + " -> " + shown + " -> " + *kept);
    return 0;
}
