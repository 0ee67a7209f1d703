#pragma once

#include <QString>
#include <vector>

namespace kb::text {

// The edit-mask notation of the record editors: up to three parts separated
// by ';'. First part: 0 a required digit, 9 an optional digit, / the locale's
// date separator, \ makes the next character a literal, any other character a
// literal; a ! makes unfilled optional positions appear as leading rather than
// trailing blanks. Second part: 1 stores the literals with the value, 0 stores
// only what was typed (absent: 1). Third part: the character shown for an
// empty position (default '_').
//
// Edit text: one character per position, literals in place, the blank
// character (or ' ') in unfilled positions. Stored value, literals kept: one
// character per position as well; the digits typed into a run of optional
// positions move together, so with ! the run's unfilled positions become
// leading blanks: "(12_)345-6789" stores "( 12)345-6789", "5_.04.13" stores
// " 5.04.13"; without ! they become trailing blanks. Literals not kept: just
// the digits typed. An empty mask (no first part) passes text through unchanged.
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
    // The edit text showing a stored value. A value of the stored form (one
    // character per position, the literals in place) is read position by
    // position; otherwise a run of digit positions takes
    // the stored characters up to the literal that follows it, so "(12)345-6789"
    // shows as "(_12)345-6789" and digits stored without their literals
    // ("1234567890") fill the positions in order.
    QString toEditText(const QString& stored) const;
    // Whether a stored value comes back unchanged through toEditText and toStored.
    bool fits(const QString& stored) const;
    // Whether ch may stand at position pos of the edit text.
    bool accepts(int pos, QChar ch) const;
    bool isLiteral(int pos) const;
    // True when every required position of the edit text is filled.
    bool isComplete(const QString& editText) const;
    // The value to store for an edit text; empty when no digit was entered at
    // all (the field is cleared). Throws std::invalid_argument with
    // "Invalid input value.  Use escape key to abandon changes" when some but
    // not all required positions are filled, or a digit position holds
    // anything but a digit.
    QString toStored(const QString& editText) const;

    static const char* const kIncompleteMessage;

private:
    struct Slot {
        enum class Kind { Literal, RequiredDigit, OptionalDigit } kind;
        QChar literal;
    };
    // A run of consecutive digit positions of one kind: [begin, end).
    struct Run {
        int begin;
        int end;
        bool optional;
    };
    Run runAt(int pos) const;
    bool isFilled(const QString& editText, int pos) const;
    bool hasStoredForm(const QString& stored) const;

    std::vector<Slot> slots_;
    bool saveLiterals_ = true;
    bool leadingBlanks_ = false;
    QChar blank_ = QLatin1Char('_');
};

} // namespace kb::text
