#pragma once

#include <QString>
#include <vector>

namespace kb {

// The edit-mask notation of the record editors: up to three parts separated
// by ';'. First part: 0 a required digit, 9 an optional digit, / the locale's
// date separator, \ makes the next character a literal, any other character a
// literal; a leading ! makes unfilled optional positions appear as leading
// rather than trailing blanks. Second part: 1 stores the literals with the
// value, 0 stores only what was typed. Third part: the character shown for an
// empty position (default '_').
class EditMask {
public:
    EditMask() = default;
    explicit EditMask(const QString& mask, QChar dateSeparator = QLatin1Char('.'));

    bool isEmpty() const { return slots_.empty(); }
    bool savesLiterals() const { return saveLiterals_; }
    QChar blank() const { return blank_; }
    int length() const { return int(slots_.size()); } // characters of the edit text

    // The edit text of an empty entry: literals in place, blanks elsewhere.
    QString emptyText() const;
    // The edit text showing a stored value.
    QString toEditText(const QString& stored) const;
    // Whether ch may stand at position pos of the edit text.
    bool accepts(int pos, QChar ch) const;
    bool isLiteral(int pos) const;
    // True when every required position of the edit text is filled.
    bool isComplete(const QString& editText) const;
    // The value to store for an edit text. Throws std::invalid_argument with
    // "Invalid input value.  Use escape key to abandon changes" when a
    // required position is empty.
    QString toStored(const QString& editText) const;

    static const char* const kIncompleteMessage;

private:
    struct Slot {
        enum class Kind { Literal, RequiredDigit, OptionalDigit } kind;
        QChar literal;
    };
    std::vector<Slot> slots_;
    bool saveLiterals_ = true;
    bool leadingBlanks_ = false;
    QChar blank_ = QLatin1Char('_');
};

} // namespace kb
