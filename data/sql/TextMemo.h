#pragma once

#include "DateTimeText.h"
#include "Value.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kb::sql {

// The values the stored texts of one column gave, for a reader of many rows.
// Stored texts repeat (a few dozen dates and percentages over thousands of
// rows), so a repeated text costs neither a parse nor an allocation: its
// copies share one string. A column whose texts mostly differ stops being
// remembered.
class TextMemo {
public:
    // The value of the text: remembered, or made by make() and remembered.
    template <typename Make> Value get(const char* text, int length, Make make) {
        if (off_ || length > kMaxLength)
            return make();
        const std::string_view key(text, size_t(length));
        Slot& slot = slots_[std::hash<std::string_view>{}(key) % kSlots];
        if (slot.filled && slot.text == key) [[likely]] {
            ++hits_;
            return slot.value;
        }
        if (++misses_ > kTrial && misses_ > hits_)
            off_ = true;
        slot.text.assign(key);
        slot.value = make();
        slot.filled = true;
        return slot.value;
    }

private:
    struct Slot {
        std::string text;
        Value value;
        bool filled = false;
    };
    static constexpr int kMaxLength = 32;
    static constexpr size_t kSlots = 512;
    static constexpr qint64 kTrial = 1024; // misses before a column may be given up
    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
    qint64 hits_ = 0;
    qint64 misses_ = 0;
    bool off_ = false;
};

// The value of a stored text of an engine's row: a date-time where the column
// is read as one and the text is an ISO date-time, else the text; through the
// column's memo when it has one.
inline Value storedTextValue(const char* text, int length, bool dated, TextMemo* memo) {
    const auto read = [text, length, dated] {
        if (dated) {
            if (const auto dt = datetime::fromIso(text, length))
                return Value(*dt);
        }
        return Value(QString::fromUtf8(text, length));
    };
    return memo ? memo->get(text, length, read) : read();
}

} // namespace kb::sql
