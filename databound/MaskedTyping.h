#pragma once

#include "EditMask.h"

#include <QString>

namespace kb::databound {

// Typing into a masked entry. The text always holds one character per mask
// position; typing overwrites, the cursor steps over literals, and erasing
// puts the blank character back. Literal positions never change.
class MaskedTyping {
public:
    explicit MaskedTyping(const text::EditMask& mask) : mask_(mask) {}

    // Types ch at the cursor into the first digit position from there; a
    // literal character moves the cursor past the next such literal. False,
    // with text and cursor unchanged, when the mask refuses the character.
    bool type(QString& text, int& cursor, QChar ch) const;
    // Backspace: blanks the nearest digit position before the cursor.
    void eraseBack(QString& text, int& cursor) const;
    // Blanks the digit positions of [from, to) and puts the cursor at from.
    void erase(QString& text, int& cursor, int from, int to) const;

private:
    const text::EditMask& mask_;
};

} // namespace kb::databound
