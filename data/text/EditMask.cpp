#include "EditMask.h"

#include <QList>
#include <stdexcept>

namespace kb::text {
namespace {

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

const char* const EditMask::kIncompleteMessage = "Invalid input value.  Use escape key to abandon changes";

EditMask::EditMask(const QString& mask, QChar dateSeparator) {
    qsizetype i = 0;
    for (; i < mask.size() && mask[i] != QLatin1Char(';'); ++i) {
        const QChar c = mask[i];
        if (c == QLatin1Char('\\')) {
            if (i + 1 < mask.size())
                slots_.push_back({Slot::Kind::Literal, mask[++i]});
        } else if (c == QLatin1Char('!')) {
            leadingBlanks_ = true;
        } else if (c == QLatin1Char('0')) {
            slots_.push_back({Slot::Kind::RequiredDigit, QChar()});
        } else if (c == QLatin1Char('9')) {
            slots_.push_back({Slot::Kind::OptionalDigit, QChar()});
        } else if (c == QLatin1Char('/')) {
            slots_.push_back({Slot::Kind::Literal, dateSeparator});
        } else {
            slots_.push_back({Slot::Kind::Literal, c});
        }
    }
    if (i >= mask.size())
        return;
    const QList<QStringView> parts = QStringView(mask).mid(i + 1).split(QLatin1Char(';'));
    if (!parts.isEmpty() && !parts[0].isEmpty())
        saveLiterals_ = parts[0] != QLatin1String("0");
    if (parts.size() > 1 && !parts[1].isEmpty())
        blank_ = parts[1][0];
}

QString EditMask::emptyText() const {
    QString text;
    text.reserve(qsizetype(slots_.size()));
    for (const Slot& s : slots_)
        text += s.kind == Slot::Kind::Literal ? s.literal : blank_;
    return text;
}

// Runs of digit positions of one kind: [begin, end).
EditMask::Run EditMask::runAt(int pos) const {
    const Slot::Kind kind = slots_[size_t(pos)].kind;
    int end = pos + 1;
    while (end < length() && slots_[size_t(end)].kind == kind)
        ++end;
    return {pos, end, kind == Slot::Kind::OptionalDigit};
}

// Whether a stored value has the form toStored gives it when literals are
// kept: one character per position, every literal in place.
bool EditMask::hasStoredForm(const QString& stored) const {
    if (stored.size() != length())
        return false;
    for (int pos = 0; pos < length(); ++pos)
        if (isLiteral(pos) && stored[pos] != slots_[size_t(pos)].literal)
            return false;
    return true;
}

QString EditMask::toEditText(const QString& stored) const {
    if (isEmpty())
        return stored;
    QString text = emptyText();
    if (hasStoredForm(stored)) {
        // Read position by position: a literal blank after a run of optional
        // positions is then never taken for one of the run's blanks.
        for (int pos = 0; pos < length(); ++pos)
            if (!isLiteral(pos))
                text[pos] = stored[pos] == QLatin1Char(' ') ? blank_ : stored[pos];
        return text;
    }
    qsizetype j = 0;
    int pos = 0;
    while (pos < length()) {
        const Slot& slot = slots_[size_t(pos)];
        if (slot.kind == Slot::Kind::Literal) {
            if (j < stored.size() && stored[j] == slot.literal)
                ++j;
            ++pos;
            continue;
        }
        // The run takes stored characters up to the literal that follows it.
        const Run run = runAt(pos);
        const bool literalAfter = run.end < length() && slots_[size_t(run.end)].kind == Slot::Kind::Literal;
        QString taken;
        while (j < stored.size() && taken.size() < run.end - run.begin &&
               !(literalAfter && stored[j] == slots_[size_t(run.end)].literal))
            taken += stored[j++];
        // A short run stands aligned as the blanks would be stored.
        const qsizetype shift = run.optional && leadingBlanks_ ? (run.end - run.begin) - taken.size() : 0;
        for (qsizetype k = 0; k < taken.size(); ++k) {
            const QChar c = taken[k];
            text[run.begin + shift + k] = c == QLatin1Char(' ') ? blank_ : c;
        }
        pos = run.end;
    }
    return text;
}

bool EditMask::fits(const QString& stored) const {
    try {
        return toStored(toEditText(stored)) == stored;
    } catch (const std::invalid_argument&) {
        return false;
    }
}

bool EditMask::accepts(int pos, QChar ch) const {
    if (pos < 0 || pos >= length())
        return false;
    const Slot& slot = slots_[size_t(pos)];
    switch (slot.kind) {
    case Slot::Kind::Literal:
        return ch == slot.literal;
    case Slot::Kind::RequiredDigit:
        return isAsciiDigit(ch);
    case Slot::Kind::OptionalDigit:
        return isAsciiDigit(ch) || ch == QLatin1Char(' ');
    }
    return false;
}

bool EditMask::isLiteral(int pos) const {
    return pos >= 0 && pos < length() && slots_[size_t(pos)].kind == Slot::Kind::Literal;
}

bool EditMask::isFilled(const QString& editText, int pos) const {
    if (pos >= editText.size())
        return false;
    const QChar c = editText[pos];
    return c != blank_ && c != QLatin1Char(' ');
}

bool EditMask::isComplete(const QString& editText) const {
    for (int pos = 0; pos < length(); ++pos)
        if (slots_[size_t(pos)].kind == Slot::Kind::RequiredDigit && !isFilled(editText, pos))
            return false;
    return true;
}

QString EditMask::toStored(const QString& editText) const {
    if (isEmpty())
        return editText;
    bool anything = false;
    for (int pos = 0; pos < length() && !anything; ++pos)
        anything = !isLiteral(pos) && isFilled(editText, pos);
    if (!anything)
        return {};

    QString stored;
    int pos = 0;
    while (pos < length()) {
        const Slot& slot = slots_[size_t(pos)];
        if (slot.kind == Slot::Kind::Literal) {
            if (saveLiterals_)
                stored += slot.literal;
            ++pos;
            continue;
        }
        const Run run = runAt(pos);
        QString digits;
        for (int p = run.begin; p < run.end; ++p) {
            if (!isFilled(editText, p))
                continue;
            if (!isAsciiDigit(editText[p]))
                throw std::invalid_argument(kIncompleteMessage);
            digits += editText[p];
        }
        const qsizetype missing = (run.end - run.begin) - digits.size();
        if (!run.optional && missing > 0)
            throw std::invalid_argument(kIncompleteMessage);
        if (saveLiterals_ && missing > 0) {
            const QString blanks(missing, QLatin1Char(' '));
            digits = leadingBlanks_ ? blanks + digits : digits + blanks;
        }
        stored += digits;
        pos = run.end;
    }
    return stored;
}

} // namespace kb::text
