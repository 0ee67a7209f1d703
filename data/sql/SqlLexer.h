#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kb::sql {

// A token of an SQL statement. Positions are in UTF-16 code units of the text.
struct Token {
    enum class Kind {
        Identifier,       // Sotr, FIO, Month, and, SELECT (keywords are identifiers here)
        QuotedIdentifier, // "name", [name] or `name`
        String,           // 'text' with '' inside
        Number,           // 12, 0.12, 1e5
        Parameter,        // :Name (also ?, ?NNN, @Name, $Name)
        Operator,         // + - * / % || = == <> != < <= > >= & | << >> ~
        Punct,            // ( ) , . ;
        Space,            // blanks and line breaks
        Comment           // -- to end of line, /* ... */
    };
    Kind kind;
    int begin;
    int length;
    QString text;

    bool is(Kind k, QStringView t) const { return kind == k && text.compare(t, Qt::CaseInsensitive) == 0; }
    // A word (keywords are identifiers here), letter case aside.
    bool isWord(QStringView w) const { return is(Kind::Identifier, w); }
    template <size_t N> bool isOneOf(Kind k, const QLatin1String (&words)[N]) const {
        if (kind != k)
            return false;
        for (const QLatin1String& w : words)
            if (text.compare(w, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }
};

// Whether the character may stand in an unquoted name after its first one
// (by SQLite's rules: ASCII letters, digits, '_', '$' and anything beyond ASCII).
bool isIdentPart(QChar c);

// What a '[' begins: a quoted name up to the next ']', as SQLite reads it, or
// an operator of its own (an array's subscript on a PostgreSQL server).
enum class Brackets { QuoteNames, AreOperators };

// Splits the text into tokens; concatenating every token's text gives the
// text back. An unterminated string or comment runs to the end.
std::vector<Token> tokenize(const QString& text, Brackets brackets = Brackets::QuoteNames);

// The tokens of a statement that mean something (no blanks, no comments), in
// order, and for each the index of the parenthesis that matches it: -1 for a
// token that is none, or one left unmatched.
struct SignificantTokens {
    std::vector<const Token*> tokens; // into the list they were taken from
    std::vector<int> match;
};
SignificantTokens significantTokens(const std::vector<Token>& all);

// A change of a statement's text: `length` characters at `pos` replaced by
// `text` (an insertion when 0).
struct TextEdit {
    int pos;
    QString text;
    int length = 0;
};
// The text with the edits made, in the order of their positions; edits at one
// position in the order given.
QString applyEdits(const QString& text, std::vector<TextEdit> edits);

// Names of the :Name placeholders in order of first appearance, without the
// colon; a placeholder inside a string literal, quoted name or comment is no
// placeholder.
QStringList parameterNames(const QString& text);

} // namespace kb::sql
