#include "PostgresRewrite.h"

#include "ColumnTypes.h"
#include "MonthRangeRewrite.h"
#include "SqlLexer.h"

#include <vector>

namespace kb::dialect {

using sql::applyEdits;
using sql::SignificantTokens;
using sql::significantTokens;
using sql::TextEdit;
using sql::Token;
using sql::tokenize;

namespace {

using Kind = Token::Kind;

// Words that end the pattern of a LIKE: it binds tighter than these.
constexpr QLatin1String kPatternEnds[] = {
    QLatin1String("AND"),    QLatin1String("OR"),       QLatin1String("THEN"),   QLatin1String("WHEN"),
    QLatin1String("ELSE"),   QLatin1String("END"),      QLatin1String("ESCAPE"), QLatin1String("ORDER"),
    QLatin1String("GROUP"),  QLatin1String("HAVING"),   QLatin1String("LIMIT"),  QLatin1String("UNION"),
    QLatin1String("IS"),     QLatin1String("NOT"),      QLatin1String("IN"),     QLatin1String("BETWEEN"),
    QLatin1String("LIKE"),   QLatin1String("AS"),       QLatin1String("FROM"),   QLatin1String("WHERE"),
    QLatin1String("EXCEPT"), QLatin1String("INTERSECT")};

bool endsPattern(const Token& t) {
    if (t.kind == Kind::Punct)
        return t.text != QLatin1String("(") && t.text != QLatin1String(".");
    if (t.kind == Kind::Operator) // comparisons bind looser than LIKE
        return t.text.contains(QLatin1Char('=')) || t.text.contains(QLatin1Char('<')) ||
               t.text.contains(QLatin1Char('>'));
    return t.isOneOf(Kind::Identifier, kPatternEnds);
}

// Words that, last in a select-list item, are part of its expression, and
// words after which the last name is no alias.
constexpr QLatin1String kNoAlias[] = {QLatin1String("END"), QLatin1String("NULL"), QLatin1String("TRUE"),
                                      QLatin1String("FALSE")};
constexpr QLatin1String kBeforeOperand[] = {
    QLatin1String("IS"),   QLatin1String("NOT"),      QLatin1String("AND"),     QLatin1String("OR"),
    QLatin1String("LIKE"), QLatin1String("THEN"),     QLatin1String("ELSE"),    QLatin1String("WHEN"),
    QLatin1String("CASE"), QLatin1String("DISTINCT"), QLatin1String("COLLATE"), QLatin1String("ESCAPE"),
    QLatin1String("IN"),   QLatin1String("BETWEEN"),  QLatin1String("SELECT"),  QLatin1String("ALL")};

bool isName(const Token& t) {
    return t.kind == Kind::Identifier || t.kind == Kind::QuotedIdentifier;
}

// Words that end a select list.
constexpr QLatin1String kListEnds[] = {QLatin1String("FROM"),   QLatin1String("WHERE"),  QLatin1String("GROUP"),
                                       QLatin1String("HAVING"), QLatin1String("ORDER"),  QLatin1String("LIMIT"),
                                       QLatin1String("UNION"),  QLatin1String("EXCEPT"), QLatin1String("INTERSECT"),
                                       QLatin1String("WINDOW")};

constexpr int kServerNameBytes = 63;

// The server names an unaliased expression column after its function or
// "?column?"; SQLite after the expression's text. Such an item gets its text
// as alias; a bare column (Sotr.FIO, FIO, *) is named alike by both.
void aliasItems(const QString& sql, const SignificantTokens& significant, std::vector<TextEdit>& edits,
                std::vector<std::pair<int, QString>>& longNames) {
    const std::vector<const Token*>& sig = significant.tokens;
    bool outer = true; // the first SELECT names the result's columns
    int column = 0;
    bool counted = true;                        // no '*' before: item n is column n
    const auto item = [&](size_t a, size_t b) { // significant tokens [a, b]
        const int index = column++;
        if (sig[b]->text == QLatin1String("*"))
            counted = false;
        const Token& last = *sig[b];
        const bool bare = (a == b && (isName(last) || last.text == QLatin1String("*"))) ||
                          (b == a + 2 && isName(*sig[a]) && sig[a + 1]->text == QLatin1String("."));
        if (bare)
            return;
        if (b > a && isName(last) && !last.isOneOf(Kind::Identifier, kNoAlias)) {
            const Token& before = *sig[b - 1];
            if (before.isWord(u"AS") || (before.kind != Kind::Operator && before.text != QLatin1String(".") &&
                                         before.text != QLatin1String("(") && before.text != QLatin1String(",") &&
                                         !before.isOneOf(Kind::Identifier, kBeforeOperand))) { // has its alias
                QString alias = last.text;
                if (last.kind == Kind::QuotedIdentifier && alias.size() >= 2)
                    alias = alias.mid(1, alias.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
                if (outer && counted && alias.toUtf8().size() > kServerNameBytes) {
                    longNames.emplace_back(index, alias);
                    edits.push_back({last.begin, QStringLiteral("kb_column_%1").arg(index), last.length});
                }
                return;
            }
        }
        const int begin = sig[a]->begin;
        const int end = last.begin + last.length;
        QString name = sql.mid(begin, end - begin);
        // The server cuts a name to 63 bytes: a longer one is given to the result column afterwards.
        if (outer && counted && name.toUtf8().size() > kServerNameBytes) {
            longNames.emplace_back(index, name);
            name = QStringLiteral("kb_column_%1").arg(index);
        }
        name.replace(QLatin1Char('"'), QLatin1String("\"\""));
        edits.push_back({end, QStringLiteral(" AS \"%1\"").arg(name)});
    };
    for (size_t k = 0; k < sig.size(); ++k) {
        if (!sig[k]->isWord(u"SELECT"))
            continue;
        size_t a = k + 1;
        if (a < sig.size() && (sig[a]->isWord(u"DISTINCT") || sig[a]->isWord(u"ALL")))
            ++a;
        size_t j = a;
        for (; j < sig.size(); ++j) {
            const Token& t = *sig[j];
            if (t.text == QLatin1String("(")) {
                j = significant.match[j] < 0 ? sig.size() - 1 : size_t(significant.match[j]);
            } else if (t.text == QLatin1String(")") || t.text == QLatin1String(";") ||
                       t.isOneOf(Kind::Identifier, kListEnds)) {
                break;
            } else if (t.text == QLatin1String(",")) {
                if (j > a)
                    item(a, j - 1);
                a = j + 1;
            }
        }
        if (j > a)
            item(a, j - 1);
        outer = false;
    }
}

constexpr QLatin1String kAggregates[] = {
    QLatin1String("count"), QLatin1String("sum"),   QLatin1String("avg"),          QLatin1String("min"),
    QLatin1String("max"),   QLatin1String("total"), QLatin1String("group_concat"), QLatin1String("string_agg")};
constexpr QLatin1String kFromEnds[] = {QLatin1String("WHERE"),  QLatin1String("GROUP"),  QLatin1String("HAVING"),
                                       QLatin1String("ORDER"),  QLatin1String("LIMIT"),  QLatin1String("OFFSET"),
                                       QLatin1String("UNION"),  QLatin1String("EXCEPT"), QLatin1String("INTERSECT"),
                                       QLatin1String("WINDOW"), QLatin1String("FOR")};

// Rows of equal sort key (all rows, without ORDER BY) come in the order the
// engine's plan gives, which differs between engines. A plain SELECT over
// tables of the schema is ordered at last by the tables' IDs in FROM order:
// the order in which SQLite's plan for the program's statements (the first
// table scanned, the others looked up by key) gives them.
void addTieBreaker(const SignificantTokens& significant, const sql::ColumnTypes& types, std::vector<TextEdit>& edits) {
    const std::vector<const Token*>& sig = significant.tokens;
    if (sig.empty() || !sig[0]->isWord(u"SELECT") || (sig.size() > 1 && sig[1]->isWord(u"DISTINCT")))
        return;
    int depth = 0;
    size_t from = 0, orderBy = 0, end = sig.size();
    for (size_t k = 0; k < sig.size(); ++k) {
        const Token& t = *sig[k];
        if (t.isOneOf(Kind::Identifier, kAggregates) && k + 1 < sig.size() && sig[k + 1]->text == QLatin1String("("))
            return;
        if (t.text == QLatin1String("("))
            ++depth;
        else if (t.text == QLatin1String(")"))
            --depth;
        if (depth != 0)
            continue;
        if (t.isWord(u"UNION") || t.isWord(u"EXCEPT") || t.isWord(u"INTERSECT") || t.isWord(u"GROUP") ||
            t.isWord(u"JOIN"))
            return;
        if (t.isWord(u"FROM") && !from)
            from = k;
        if (t.isWord(u"ORDER"))
            orderBy = k;
        if (end == sig.size() &&
            (t.isWord(u"LIMIT") || t.isWord(u"OFFSET") || t.isWord(u"FOR") || t.text == QLatin1String(";")))
            end = k;
    }
    if (!from)
        return;
    QStringList keys;
    size_t k = from + 1;
    while (k < end && !sig[k]->isOneOf(Kind::Identifier, kFromEnds)) {
        if (!isName(*sig[k]))
            return; // a subquery or a function
        QString table = sig[k]->text;
        if (sig[k]->kind == Kind::QuotedIdentifier)
            table = table.mid(1, table.size() - 2);
        if (!types.hasColumn(table, QStringLiteral("ID")))
            return;
        QString name = sig[k]->text;
        ++k;
        if (k < end && sig[k]->isWord(u"AS"))
            ++k;
        if (k < end && isName(*sig[k]) && !sig[k]->isOneOf(Kind::Identifier, kFromEnds))
            name = sig[k++]->text;
        keys << name + QStringLiteral(".\"ID\"");
        if (k < end && sig[k]->text == QLatin1String(","))
            ++k;
        else if (k < end && !sig[k]->isOneOf(Kind::Identifier, kFromEnds))
            return;
    }
    const Token& last = *sig[end - 1];
    const QString tail = keys.join(QStringLiteral(", "));
    edits.push_back({last.begin + last.length, (orderBy ? QStringLiteral(", ") : QStringLiteral(" ORDER BY ")) + tail});
}

} // namespace

ServerStatement serverRewrite(const QString& statement, const sql::ColumnTypes& types) {
    const QString sql = rangesOnly(statement, types);
    const std::vector<Token> all = tokenize(sql);
    const SignificantTokens significant = significantTokens(all);
    const std::vector<const Token*>& sig = significant.tokens;
    std::vector<TextEdit> edits;
    ServerStatement result;
    for (size_t k = 0; k < sig.size(); ++k) {
        const Token& t = *sig[k];
        if (t.isWord(u"round") && k + 1 < sig.size() && sig[k + 1]->text == QLatin1String("(")) {
            edits.push_back({t.begin, QStringLiteral("kb_round"), t.length});
            continue;
        }
        if (!t.isWord(u"LIKE"))
            continue;
        const bool negated = k > 0 && sig[k - 1]->isWord(u"NOT");
        const Token& first = negated ? *sig[k - 1] : t;
        edits.push_back({first.begin, QStringLiteral("COLLATE kb_ru_exact ")});
        edits.push_back({t.begin, QStringLiteral("ILIKE"), t.length});
        // The pattern runs to the first word or sign at its own level of parentheses that ends it.
        size_t end = k + 1;
        for (; end < sig.size(); ++end) {
            const Token& p = *sig[end];
            if (p.text == QLatin1String("("))
                end = significant.match[end] < 0 ? sig.size() - 1 : size_t(significant.match[end]);
            else if (p.text == QLatin1String(")") || (end > k + 1 && endsPattern(p)))
                break;
        }
        if (end < sig.size() && sig[end]->isWord(u"ESCAPE"))
            continue;
        const Token& last = *sig[end - 1];
        edits.push_back({last.begin + last.length, QStringLiteral(" ESCAPE ''")});
    }
    // After the LIKE's ESCAPE, which may end the same item.
    aliasItems(sql, significant, edits, result.longNames);
    addTieBreaker(significant, types, edits);
    if (edits.empty())
        return {sql, {}};
    result.sql = applyEdits(sql, std::move(edits));
    return result;
}

} // namespace kb::dialect
