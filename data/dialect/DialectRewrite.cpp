// The strict conversion of text columns used in arithmetic: finds the column
// references of a statement that stand as operands of an arithmetic operator
// and wraps them in the conversion function (see Dialect.h).

#include "Dialect.h"
#include "MonthRangeRewrite.h"
#include "SqlLexer.h"
#include "SqlName.h"

#include <algorithm>
#include <vector>

namespace kb::dialect {

using sql::SignificantTokens;
using sql::significantTokens;
using sql::TextEdit;
namespace {

using sql::Token;
using Kind = Token::Kind;

// Keywords after which an operand begins: a '+' or '-' there is unary, a '('
// there groups an expression (rather than holding a call's arguments).
constexpr QLatin1String kOperandStarts[] = {
    QLatin1String("SELECT"),   QLatin1String("DISTINCT"), QLatin1String("ALL"),   QLatin1String("WHERE"),
    QLatin1String("AND"),      QLatin1String("OR"),       QLatin1String("NOT"),   QLatin1String("ON"),
    QLatin1String("HAVING"),   QLatin1String("BY"),       QLatin1String("WHEN"),  QLatin1String("THEN"),
    QLatin1String("ELSE"),     QLatin1String("CASE"),     QLatin1String("SET"),   QLatin1String("IS"),
    QLatin1String("BETWEEN"),  QLatin1String("LIKE"),     QLatin1String("GLOB"),  QLatin1String("REGEXP"),
    QLatin1String("MATCH"),    QLatin1String("ESCAPE"),   QLatin1String("LIMIT"), QLatin1String("OFFSET"),
    QLatin1String("RETURNING")};

// Keywords that end a FROM list or a select list.
constexpr QLatin1String kClauseEnds[] = {
    QLatin1String("WHERE"), QLatin1String("GROUP"),     QLatin1String("HAVING"), QLatin1String("ORDER"),
    QLatin1String("LIMIT"), QLatin1String("WINDOW"),    QLatin1String("SET"),    QLatin1String("RETURNING"),
    QLatin1String("UNION"), QLatin1String("INTERSECT"), QLatin1String("EXCEPT"), QLatin1String("VALUES"),
    QLatin1String("FROM"),  QLatin1String("DEFAULT")};

// Words that may follow a table in a FROM list and are no alias.
constexpr QLatin1String kJoinWords[] = {QLatin1String("ON"),      QLatin1String("USING"),   QLatin1String("JOIN"),
                                        QLatin1String("LEFT"),    QLatin1String("RIGHT"),   QLatin1String("FULL"),
                                        QLatin1String("INNER"),   QLatin1String("OUTER"),   QLatin1String("CROSS"),
                                        QLatin1String("NATURAL"), QLatin1String("INDEXED"), QLatin1String("NOT")};

// Functions whose arguments are numbers: a text column as a whole argument is
// converted by SQLite as silently as in arithmetic.
constexpr QLatin1String kNumericFunctions[] = {QLatin1String("sum"), QLatin1String("total"), QLatin1String("avg"),
                                               QLatin1String("abs"), QLatin1String("round")};

constexpr QLatin1String kArithmeticOperators[] = {QLatin1String("+"), QLatin1String("-"),  QLatin1String("*"),
                                                  QLatin1String("/"), QLatin1String("%"),  QLatin1String("&"),
                                                  QLatin1String("|"), QLatin1String("<<"), QLatin1String(">>")};

// The name a quoted identifier stands for: "a""b" -> a"b, [x] -> x.
QString unquote(const Token& t) {
    if (t.kind != Kind::QuotedIdentifier || t.text.size() < 2)
        return t.text;
    const QChar open = t.text.front();
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    QString inner = t.text.mid(1, t.text.size() - (t.text.back() == close ? 2 : 1));
    if (open != QLatin1Char('['))
        inner.replace(QString(2, open), QString(open));
    return inner;
}

// Whether a string or quoted name runs to the end of the text unclosed. Text
// added after it would land inside it, and SQLite refuses such a statement.
bool isUnterminated(const Token& t) {
    if (t.kind != Kind::String && t.kind != Kind::QuotedIdentifier)
        return false;
    const QChar open = t.text.front();
    if (open == QLatin1Char('['))
        return !t.text.endsWith(QLatin1Char(']')) || t.text.size() < 2;
    return t.text.count(open) % 2 != 0; // the quotes of a closed run: its two ends and doubled ones
}

QString sqlString(const QString& s) {
    QString quoted = s;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

struct Source {
    QString name;  // the alias, else the table's name as written
    QString table; // a table of the schema; empty for a subquery or an unknown name
};

// One SELECT, UPDATE or DELETE with the sources its columns may come from.
struct Block {
    int parent = -1;
    std::vector<Source> sources;
    int listBegin = -1; // the select list, significant tokens [listBegin, listEnd)
    int listEnd = -1;
};

class Rewriter {
public:
    Rewriter(const QString& sql, const sql::ColumnTypes& types)
        : sql_(sql), types_(types), tokens_(sql::tokenize(sql)) {}

    QString run() {
        if (!tokens_.empty() && isUnterminated(tokens_.back()))
            return sql_;
        index();
        scanGroup(0, size(), -1);
        wrapColumns();
        if (edits_.empty())
            return sql_;
        aliasChangedItems();
        return sql::applyEdits(sql_, std::move(edits_));
    }

private:
    struct KnownColumn {
        QString table;
        QString column;
        bool isText;
        QString closing; // ",'Table.Column')" after a wrapped reference
    };

    int size() const { return int(sig_.size()); }
    const Token& at(int k) const { return *sig_[size_t(k)]; }
    bool punct(int k, char c) const {
        return k >= 0 && k < size() && at(k).kind == Kind::Punct && at(k).text.front() == QLatin1Char(c);
    }
    bool word(int k, const char* w) const {
        if (k < 0 || k >= size() || at(k).kind != Kind::Identifier)
            return false;
        const QLatin1String l(w);
        return at(k).length == l.size() && at(k).text.compare(l, Qt::CaseInsensitive) == 0;
    }
    template <size_t N> bool oneOf(int k, Kind kind, const QLatin1String (&words)[N]) const {
        return k >= 0 && k < size() && at(k).isOneOf(kind, words);
    }
    bool isName(int k) const {
        return k >= 0 && k < size() && (at(k).kind == Kind::Identifier || at(k).kind == Kind::QuotedIdentifier);
    }
    // The ')' that closes the '(' at k, or the last token before `to` when it is unclosed.
    int closing(int k, int to) const { return match_[size_t(k)] < 0 ? to - 1 : match_[size_t(k)]; }

    // Significant tokens (no blanks, no comments) and their parentheses.
    void index() {
        SignificantTokens significant = significantTokens(tokens_);
        sig_ = std::move(significant.tokens);
        match_ = std::move(significant.match);
        enclosing_.assign(sig_.size(), -1);
        block_.assign(sig_.size(), -1);
        std::vector<int> open;
        for (int k = 0; k < size(); ++k) {
            if (punct(k, ')') && !open.empty())
                open.pop_back();
            enclosing_[size_t(k)] = open.empty() ? -1 : open.back();
            if (punct(k, '('))
                open.push_back(k);
        }
    }

    // Tokens [from, to) at one level of parentheses: statements separated by
    // ';' and compound operators.
    void scanGroup(int from, int to, int parent) {
        int segment = from;
        for (int k = from; k < to; ++k) {
            if (punct(k, '(')) {
                k = closing(k, to);
            } else if (punct(k, ';') || word(k, "UNION") || word(k, "INTERSECT") || word(k, "EXCEPT")) {
                scanSegment(segment, k, parent);
                block_[size_t(k)] = parent;
                segment = k + 1;
            }
        }
        scanSegment(segment, to, parent);
    }

    void scanSegment(int from, int to, int parent) {
        int b = parent;
        int statement = -1;
        for (int k = from; k < to && statement < 0; ++k) {
            if (punct(k, '('))
                k = closing(k, to);
            else if (word(k, "SELECT") || word(k, "UPDATE") || word(k, "DELETE"))
                statement = k;
        }
        if (statement >= 0) {
            b = int(blocks_.size());
            blocks_.push_back(Block{parent, {}, -1, -1});
            readSources(statement, to, b);
            if (word(statement, "SELECT"))
                readSelectList(statement + 1, to, blocks_[size_t(b)]);
        }
        for (int k = from; k < to; ++k) {
            block_[size_t(k)] = b;
            if (punct(k, '(')) {
                const int end = closing(k, to);
                scanGroup(k + 1, end, b);
                block_[size_t(end)] = b;
                k = end;
            }
        }
    }

    void readSources(int statement, int to, int b) {
        for (int k = statement; k < to; ++k) {
            if (punct(k, '(')) {
                k = closing(k, to);
            } else if (word(k, "FROM") && !(word(k - 1, "DISTINCT") && (word(k - 2, "IS") || word(k - 2, "NOT")))) {
                k = readSourceList(k + 1, to, blocks_[size_t(b)]) - 1;
            } else if (word(k, "UPDATE")) {
                int first = k + 1;
                if (word(first, "OR"))
                    first += 2;
                k = readSourceList(first, to, blocks_[size_t(b)]) - 1;
            }
        }
    }

    // A FROM list from k: tables with their aliases, subqueries, joins.
    // Returns the token where the list ends.
    int readSourceList(int k, int to, Block& block) {
        bool expectSource = true;
        while (k < to && !punct(k, ';') && !oneOf(k, Kind::Identifier, kClauseEnds)) {
            if (expectSource) {
                Source source;
                if (punct(k, '(')) {
                    k = closing(k, to) + 1;
                } else if (isName(k)) {
                    source.name = unquote(at(k++));
                    if (punct(k, '.') && isName(k + 1)) { // schema.table
                        source.name = unquote(at(k + 1));
                        k += 2;
                    }
                    if (types_.hasTable(source.name))
                        source.table = source.name;
                    if (punct(k, '(')) { // a table-valued function
                        source.table.clear();
                        k = closing(k, to) + 1;
                    }
                } else {
                    ++k;
                    continue;
                }
                if (word(k, "AS"))
                    ++k;
                if (k < to && isName(k) && !oneOf(k, Kind::Identifier, kJoinWords) &&
                    !oneOf(k, Kind::Identifier, kClauseEnds))
                    source.name = unquote(at(k++));
                block.sources.push_back(std::move(source));
                expectSource = false;
            } else if (punct(k, ',') || word(k, "JOIN")) {
                expectSource = true;
                ++k;
            } else if (word(k, "ON")) {
                ++k;
                while (k < to && !punct(k, ',') && !punct(k, ';') && !oneOf(k, Kind::Identifier, kJoinWords) &&
                       !oneOf(k, Kind::Identifier, kClauseEnds))
                    k = punct(k, '(') ? closing(k, to) + 1 : k + 1;
            } else {
                k = punct(k, '(') ? closing(k, to) + 1 : k + 1; // LEFT, OUTER, USING (...), INDEXED BY x
            }
        }
        return k;
    }

    void readSelectList(int k, int to, Block& block) {
        if (word(k, "DISTINCT") || word(k, "ALL"))
            ++k;
        block.listBegin = k;
        while (k < to && !punct(k, ';') && !oneOf(k, Kind::Identifier, kClauseEnds))
            k = punct(k, '(') ? closing(k, to) + 1 : k + 1;
        block.listEnd = std::min(k, to);
    }

    bool isArithmeticOperator(int k) const { return oneOf(k, Kind::Operator, kArithmeticOperators); }

    // "->" and "->>" (JSON) come out of the lexer as '-' followed by '>' or '>>'.
    bool isJsonArrow(int k) const {
        return k >= 0 && k + 1 < size() && at(k).kind == Kind::Operator && at(k).text == QLatin1String("-") &&
               at(k + 1).kind == Kind::Operator && at(k + 1).begin == at(k).begin + 1 &&
               at(k + 1).text.startsWith(QLatin1Char('>'));
    }

    // Whether an operand begins at k + 1: the start, after an operator, '(' , ','
    // or a keyword such as SELECT, WHERE, AND, THEN.
    bool operandStartsAfter(int k) const {
        if (k < 0)
            return true;
        const Token& t = at(k);
        if (t.kind == Kind::Operator)
            return true;
        if (t.kind == Kind::Punct)
            return punct(k, '(') || punct(k, ',') || punct(k, ';');
        return t.isOneOf(Kind::Identifier, kOperandStarts);
    }

    int skipCollate(int k) const {
        while (word(k, "COLLATE"))
            k += 2;
        return k;
    }

    // Whether the expression at tokens [l, r] is an operand of arithmetic.
    bool isArithmeticOperand(int l, int r) const {
        // Through grouping parentheses: (x)*2, -(x).
        while (punct(l - 1, '(') && match_[size_t(l - 1)] == skipCollate(r + 1) && operandStartsAfter(l - 2)) {
            r = match_[size_t(l - 1)];
            --l;
        }
        const int p = l - 1;
        const int q = skipCollate(r + 1);

        // The whole argument of a numeric function: sum(x), round(x, 2), sum(DISTINCT x).
        int open = -1;
        if (punct(p, '('))
            open = p;
        else if (punct(p, ','))
            open = enclosing_[size_t(p)];
        else if (word(p, "DISTINCT") && punct(p - 1, '('))
            open = p - 1;
        if (open > 0 &&
            ((punct(q, ')') && match_[size_t(q)] == open) || (punct(q, ',') && enclosing_[size_t(q)] == open)) &&
            oneOf(open - 1, Kind::Identifier, kNumericFunctions))
            return true;

        // Unary minus and ~ bind tighter than anything; || binds tighter than
        // the binary arithmetic operators, so next to it the column is an
        // operand of the concatenation.
        bool leftBinary = false;
        if (p >= 0 && at(p).kind == Kind::Operator) {
            const QString& o = at(p).text;
            if (o == QLatin1String("~"))
                return true;
            if (o == QLatin1String("-") && operandStartsAfter(p - 1))
                return true;
            if (o == QLatin1String("||") || isJsonArrow(p - 1))
                return false;
            // A unary '+' converts nothing (SQLite leaves text as it is).
            leftBinary = isArithmeticOperator(p) && !(o == QLatin1String("+") && operandStartsAfter(p - 1));
        }
        if (q < size() && at(q).kind == Kind::Operator && (at(q).text == QLatin1String("||") || isJsonArrow(q)))
            return false;
        return leftBinary || isArithmeticOperator(q);
    }

    // The table of the schema a column reference belongs to; empty when it
    // is no column of a known table, or when that cannot be told.
    QString resolve(int k, const QString* qualifier, const QString& column) const {
        for (int b = block_[size_t(k)]; b >= 0; b = blocks_[size_t(b)].parent) {
            const Block& block = blocks_[size_t(b)];
            if (qualifier) {
                for (const Source& s : block.sources)
                    if (s.name.compare(*qualifier, Qt::CaseInsensitive) == 0)
                        return s.table;
                continue;
            }
            int count = 0;
            QString found;
            for (const Source& s : block.sources) {
                if (!s.table.isEmpty() && types_.hasColumn(s.table, column)) {
                    ++count;
                    found = s.table;
                }
            }
            if (count == 1)
                return found;
            if (count > 1)
                return {}; // ambiguous: SQLite itself refuses it
        }
        return {};
    }

    QString canonical(const QStringList& names, const QString& name) const {
        for (const QString& n : names)
            if (n.compare(name, Qt::CaseInsensitive) == 0)
                return n;
        return name;
    }

    void wrapColumns() {
        for (int k = 0; k < size(); ++k) {
            if (!isName(k) || punct(k - 1, '.') || word(k - 1, "AS") || word(k - 1, "COLLATE") || punct(k + 1, '('))
                continue;
            int last = k;
            int qualifierToken = -1;
            if (punct(k + 1, '.')) {
                if (!isName(k + 2))
                    continue; // Table.*
                qualifierToken = k;
                last = k + 2;
                if (punct(k + 3, '.') && isName(k + 4)) { // schema.Table.Column
                    qualifierToken = k + 2;
                    last = k + 4;
                }
            }
            if (isArithmeticOperand(k, last)) {
                const QString column = unquote(at(last));
                const QString qualifier = qualifierToken >= 0 ? unquote(at(qualifierToken)) : QString();
                const QString table = resolve(k, qualifierToken >= 0 ? &qualifier : nullptr, column);
                if (!table.isEmpty()) {
                    const KnownColumn& known = lookUp(table, column);
                    if (known.isText)
                        wrap(k, last, known);
                }
            }
            k = last;
        }
    }

    // The column's entry among those seen: whether it is a text column and the
    // name the conversion's message gives it. A statement names the same few
    // columns many times.
    const KnownColumn& lookUp(const QString& table, const QString& column) {
        for (const KnownColumn& c : known_)
            if (c.table.compare(table, Qt::CaseInsensitive) == 0 && c.column.compare(column, Qt::CaseInsensitive) == 0)
                return c;
        KnownColumn c{table, column, types_.type(table, column) == sql::FieldType::Text, {}};
        if (c.isText) {
            const QString realTable = canonical(types_.tables(), table);
            const QString realColumn = canonical(types_.columns(realTable), column);
            c.closing = QLatin1Char(',') + sqlString(realTable + QLatin1Char('.') + realColumn) + QLatin1Char(')');
        }
        known_.push_back(std::move(c));
        return known_.back();
    }

    void wrap(int first, int last, const KnownColumn& column) {
        const int begin = at(first).begin;
        // A keyword may touch a quoted name ("AND\"Premia\""): keep them apart.
        const bool touches = begin > 0 && sql::isIdentPart(sql_[begin - 1]);
        edits_.push_back({begin, (touches ? QLatin1String(" ") : QLatin1String()) + QLatin1String(kNumberFunction) +
                                     QLatin1Char('(')});
        edits_.push_back({at(last).begin + at(last).length, column.closing});
        wrapped_.push_back(begin);
    }

    // Whether the select-list item [a, last] surely has no alias.
    bool lacksAlias(int a, int last) const {
        const Token& t = at(last);
        if (punct(last, ')') || t.kind == Kind::Number || t.kind == Kind::Parameter)
            return true;
        if (t.kind == Kind::String) // SELECT x 'name' names the column
            return last == a || operandStartsAfter(last - 1);
        if (!isName(last))
            return false;
        // A name right after an operator, a '.', COLLATE or a keyword such as
        // IS, LIKE, THEN is part of the expression, not an alias.
        if (last == a || punct(last - 1, '.') || word(last - 1, "COLLATE") || operandStartsAfter(last - 1) ||
            word(last, "ISNULL") || word(last, "NOTNULL"))
            return true;
        if (word(last, "END")) { // CASE ... END
            for (int k = a; k < last; ++k) {
                if (word(k, "CASE"))
                    return true;
                if (punct(k, '('))
                    k = match_[size_t(k)] < 0 ? last : match_[size_t(k)];
            }
        }
        return false; // maybe "expression alias": leave it as it is
    }

    // The name SQLite gives an unaliased result column: the text from the
    // expression's first token up to the next token, comments included,
    // without the blanks at its end.
    QString columnName(int begin, int next) const {
        qsizetype end = next < size() ? at(next).begin : sql_.size();
        while (end > begin && QStringView(u" \t\n\r\f\v").contains(sql_[end - 1]))
            --end;
        return sql_.mid(begin, end - begin);
    }

    // A changed select-list item without alias gets its original text as
    // alias, which is the name SQLite gives such a column.
    void aliasChangedItems() {
        for (const Block& block : blocks_) {
            if (block.listBegin < 0)
                continue;
            int a = block.listBegin;
            for (int k = block.listBegin; k <= block.listEnd; ++k) {
                if (k < block.listEnd && !punct(k, ',')) {
                    if (punct(k, '('))
                        k = std::min(closing(k, block.listEnd), block.listEnd - 1);
                    continue;
                }
                if (k > a) {
                    const int begin = at(a).begin;
                    const int end = at(k - 1).begin + at(k - 1).length;
                    const bool changed = std::any_of(wrapped_.begin(), wrapped_.end(),
                                                     [&](int pos) { return pos >= begin && pos < end; });
                    if (changed && lacksAlias(a, k - 1))
                        edits_.push_back({end, QLatin1String(" AS ") + sql::quoteName(columnName(begin, k))});
                }
                a = k + 1;
            }
        }
    }

    const QString& sql_;
    const sql::ColumnTypes& types_;
    std::vector<Token> tokens_;
    std::vector<const Token*> sig_; // the significant tokens
    std::vector<int> match_;        // per significant token: the matching parenthesis, -1
    std::vector<int> enclosing_;    // per significant token: the '(' it stands in, -1
    std::vector<int> block_;        // per significant token: its block, -1
    std::vector<Block> blocks_;
    std::vector<TextEdit> edits_;
    std::vector<int> wrapped_; // where the wrapped references begin
    std::vector<KnownColumn> known_;
};

// Without an operator character or a parenthesis nothing can change.
bool mayNeedRewrite(const QString& sql) {
    for (const QChar c : sql) {
        switch (c.unicode()) {
        case '+':
        case '-':
        case '*':
        case '/':
        case '%':
        case '&':
        case '|':
        case '~':
        case '(':
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace

QString rewrite(const QString& sql, const sql::ColumnTypes& types) {
    if (!mayNeedRewrite(sql))
        return sql;
    return rangeMonthConditions(Rewriter(sql, types).run(), types);
}

} // namespace kb::dialect
