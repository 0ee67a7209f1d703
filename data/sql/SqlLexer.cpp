#include "SqlLexer.h"

#include <algorithm>

namespace kb::sql {
namespace {

// SQLite's rules: ASCII letters and '_', and any character beyond ASCII
// (whatever it is: SQLite looks at bytes >= 0x80, not at letters), start a
// name; digits and '$' may follow.
bool isIdentStart(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_' || u >= 0x80;
}

} // namespace

bool isIdentPart(QChar c) {
    const char16_t u = c.unicode();
    return isIdentStart(c) || (u >= u'0' && u <= u'9') || u == u'$';
}

namespace {

// Length of a quoted run starting at i with the quote character q; a doubled
// quote stands for itself. Runs to the end when unterminated.
int quotedLength(const QString& s, int i, QChar q) {
    int j = i + 1;
    while (j < s.size()) {
        if (s[j] == q) {
            if (j + 1 < s.size() && s[j + 1] == q) {
                j += 2;
                continue;
            }
            return j + 1 - i;
        }
        ++j;
    }
    return int(s.size()) - i;
}

int numberLength(const QString& s, int i) {
    int j = i;
    auto digits = [&] {
        while (j < s.size() && s[j].isDigit())
            ++j;
    };
    digits();
    if (j < s.size() && s[j] == QLatin1Char('.')) {
        ++j;
        digits();
    }
    if (j < s.size() && (s[j] == QLatin1Char('e') || s[j] == QLatin1Char('E'))) {
        int k = j + 1;
        if (k < s.size() && (s[k] == QLatin1Char('+') || s[k] == QLatin1Char('-')))
            ++k;
        if (k < s.size() && s[k].isDigit()) {
            j = k;
            digits();
        }
    }
    return j - i;
}

int operatorLength(const QString& s, int i) {
    static const char* const twoChar[] = {"||", "==", "<>", "!=", "<=", ">=", "<<", ">>"};
    if (i + 1 < s.size()) {
        for (const char* op : twoChar)
            if (s[i] == QLatin1Char(op[0]) && s[i + 1] == QLatin1Char(op[1]))
                return 2;
    }
    return 1;
}

} // namespace

std::vector<Token> tokenize(const QString& s, Brackets brackets) {
    std::vector<Token> tokens;
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        const QChar c = s[i];
        Token::Kind kind;
        int len = 1;
        if (c.isSpace()) {
            kind = Token::Kind::Space;
            while (i + len < n && s[i + len].isSpace())
                ++len;
        } else if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
            kind = Token::Kind::Comment;
            while (i + len < n && s[i + len] != QLatin1Char('\n'))
                ++len;
        } else if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
            kind = Token::Kind::Comment;
            const int end = int(s.indexOf(QLatin1String("*/"), i + 2));
            len = end < 0 ? n - i : end + 2 - i;
        } else if (c == QLatin1Char('\'')) {
            kind = Token::Kind::String;
            len = quotedLength(s, i, c);
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
            kind = Token::Kind::QuotedIdentifier;
            len = quotedLength(s, i, c);
        } else if (c == QLatin1Char('[') && brackets == Brackets::QuoteNames) {
            kind = Token::Kind::QuotedIdentifier;
            const int end = int(s.indexOf(QLatin1Char(']'), i + 1));
            len = end < 0 ? n - i : end + 1 - i;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit())) {
            kind = Token::Kind::Number;
            len = numberLength(s, i);
        } else if ((c == QLatin1Char(':') || c == QLatin1Char('@') || c == QLatin1Char('$')) && i + 1 < n &&
                   isIdentStart(s[i + 1])) {
            kind = Token::Kind::Parameter;
            while (i + len < n && isIdentPart(s[i + len]))
                ++len;
        } else if (c == QLatin1Char('?')) {
            kind = Token::Kind::Parameter;
            while (i + len < n && s[i + len].isDigit())
                ++len;
        } else if (isIdentStart(c)) {
            kind = Token::Kind::Identifier;
            while (i + len < n && isIdentPart(s[i + len]))
                ++len;
        } else if (QStringView(u"(),.;").contains(c)) {
            kind = Token::Kind::Punct;
        } else {
            kind = Token::Kind::Operator;
            len = operatorLength(s, i);
        }
        tokens.push_back(Token{kind, i, len, s.mid(i, len)});
        i += len;
    }
    return tokens;
}

SignificantTokens significantTokens(const std::vector<Token>& all) {
    SignificantTokens s;
    for (const Token& t : all)
        if (t.kind != Token::Kind::Space && t.kind != Token::Kind::Comment)
            s.tokens.push_back(&t);
    s.match.assign(s.tokens.size(), -1);
    std::vector<int> open;
    for (int k = 0; k < int(s.tokens.size()); ++k) {
        const Token& t = *s.tokens[size_t(k)];
        if (t.kind != Token::Kind::Punct)
            continue;
        if (t.text == QLatin1String("(")) {
            open.push_back(k);
        } else if (t.text == QLatin1String(")") && !open.empty()) {
            s.match[size_t(k)] = open.back();
            s.match[size_t(open.back())] = k;
            open.pop_back();
        }
    }
    return s;
}

QString applyEdits(const QString& text, std::vector<TextEdit> edits) {
    std::stable_sort(edits.begin(), edits.end(), [](const TextEdit& a, const TextEdit& b) { return a.pos < b.pos; });
    qsizetype extra = 0;
    for (const TextEdit& e : edits)
        extra += e.text.size();
    QString out;
    out.reserve(text.size() + extra);
    int pos = 0;
    for (const TextEdit& e : edits) {
        out += QStringView(text).mid(pos, e.pos - pos);
        out += e.text;
        pos = e.pos + e.length;
    }
    out += QStringView(text).mid(pos);
    return out;
}

QStringList parameterNames(const QString& text) {
    QStringList names;
    for (const Token& t : tokenize(text)) {
        if (t.kind != Token::Kind::Parameter || !t.text.startsWith(QLatin1Char(':')))
            continue;
        const QString name = t.text.mid(1);
        bool seen = false;
        for (const QString& n : names)
            seen = seen || n.compare(name, Qt::CaseInsensitive) == 0;
        if (!seen)
            names.append(name);
    }
    return names;
}

} // namespace kb::sql
