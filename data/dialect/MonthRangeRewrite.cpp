// The month condition pairs as date ranges (see MonthRangeRewrite.h).
//
// Month(X) and Year(X) hide X from every index: the engine computes them on
// each row the rest of the condition leaves, for the salary statement on every
// month of every employee. The range before the pair lets an index on
// (IDSotr, Data) go straight to the month's rows; the pair itself stays as it
// was and checks those rows again.
//
// Why the rows are the same as the pair alone selects:
//  - The program stores a date-time only as ISO text or NULL: a statement binds
//    a date-time as "YYYY-MM-DD HH:MM:SS", a field turns typed text and day
//    numbers into a date-time first, and the import and the demo data write
//    through the same binding. Each text that Month() and Year() accept begins
//    with "YYYY-MM-", so it lies in the range of its own month and outside the
//    range of every other (MonthBounds.cpp). The range drops only rows the
//    pair would drop too.
//  - The pair stays after the range, so each row the range lets through meets
//    the original conditions as well; a text there that is no date still fails
//    the statement with Month()'s message.
//  - NULL: a row whose X is NULL fails the comparisons; a NULL parameter makes
//    the bounds NULL, and no row passes, as Month(NULL) compares with nothing.
//    A parameter that is no date fails kb_month_start with the message that
//    Month() or Year() gives it.
// What does differ is confined to values the program never writes: a number
// that another tool put into the column (the engine orders every number before
// every text, so it is in no range) is no longer found, and a text that is no
// date outside the month no longer fails the statement.
//
// On PostgreSQL the column is a timestamp and the parameters are bound as
// timestamps; the bounds there are functions of the same names returning the
// two timestamps, and the comparisons are plain ones both engines read alike.
// There the range is exactly the month: a timestamp lies in it if and only if
// its month and year are those of the pair, and a NULL column or parameter
// fails both alike. So the server gets the range alone (rangesOnly()): kept,
// the pair checks nothing more and spoils the planner's estimate, which takes
// the range and the pair's two equalities for independent conditions, expects
// one row of a month and chooses its joins as if so (at times a nested loop
// that scans a whole table for each of the month's rows).

#include "MonthRangeRewrite.h"

#include "DialectNames.h"
#include "SqlLexer.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <vector>

namespace kb::dialect {

using sql::SignificantTokens;
using sql::significantTokens;
using sql::Token;
using sql::tokenize;
namespace {

using Kind = Token::Kind;

struct Conjunct {
    bool isMonth;
    QString qualifier; // empty for a bare column
    QString column;
    QString parameter;
    int last; // its closing ')'
};

class MonthRanges {
public:
    MonthRanges(const QString& sql, const sql::ColumnTypes& types)
        : sql_(sql), types_(types), tokens_(tokenize(sql)), sig_(significantTokens(tokens_)) {}

    // Puts the range before each pair; with dropChecked, instead removes each
    // pair that stands right after its own range (see rangesOnly()).
    QString run(bool dropChecked = false) {
        QString out;
        int copied = 0;
        bool changed = false;
        for (int k = 0; k < size(); ++k) {
            const std::optional<Conjunct> first = conjunct(k);
            if (!first || !word(first->last + 1, {"AND"}))
                continue;
            const std::optional<Conjunct> second = conjunct(first->last + 2);
            if (!second || second->isMonth == first->isMonth || !sameColumn(*first, *second) || !startsCondition(k) ||
                !endsCondition(second->last + 1) || !isDateColumn(*first))
                continue;
            const Conjunct& month = first->isMonth ? *first : *second;
            const Conjunct& year = first->isMonth ? *second : *first;
            if (dropChecked) {
                if (!ownRangeBefore(k, *first, month.parameter, year.parameter))
                    continue;
                const int from = tok(k - 2).begin + tok(k - 2).length; // after the range's last ')'
                out += QStringView(sql_).mid(copied, from - copied);
                copied = tok(second->last).begin + tok(second->last).length;
                changed = true;
                k = second->last;
                continue;
            }
            if (hasRange(k, month.parameter, year.parameter))
                continue;
            const QString column =
                first->qualifier.isEmpty() ? first->column : first->qualifier + QLatin1Char('.') + first->column;
            const int at = tok(k).begin;
            out += QStringView(sql_).mid(copied, at - copied);
            out += QStringLiteral("%1 >= %2(%3, %4) and %1 < %5(%3, %4) and ")
                       .arg(column, QLatin1String(kMonthStartFunction), month.parameter, year.parameter,
                            QLatin1String(kMonthEndFunction));
            copied = at;
            changed = true;
            k = second->last;
        }
        if (!changed)
            return sql_;
        out += QStringView(sql_).mid(copied);
        return out;
    }

private:
    int size() const { return int(sig_.tokens.size()); }
    const Token& tok(int k) const { return *sig_.tokens[size_t(k)]; }
    bool punct(int k, char c) const {
        return k >= 0 && k < size() && tok(k).kind == Kind::Punct && tok(k).text.front() == QLatin1Char(c);
    }
    bool word(int k, std::initializer_list<const char*> words) const {
        if (k < 0 || k >= size() || tok(k).kind != Kind::Identifier)
            return false;
        return std::any_of(words.begin(), words.end(), [&](const char* w) {
            return tok(k).text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
        });
    }
    bool kind(int k, Kind what) const { return k >= 0 && k < size() && tok(k).kind == what; }

    // "Month(X) = Month(:A)" or "Year(X) = Year(:B)" from k.
    std::optional<Conjunct> conjunct(int k) const {
        if (!word(k, {"Month", "Year"}) || !punct(k + 1, '(') || !kind(k + 2, Kind::Identifier))
            return std::nullopt;
        Conjunct c{word(k, {"Month"}), {}, tok(k + 2).text, {}, -1};
        int j = k + 3;
        if (punct(j, '.') && kind(j + 1, Kind::Identifier)) {
            c.qualifier = c.column;
            c.column = tok(j + 1).text;
            j += 2;
        }
        const bool equals = kind(j + 1, Kind::Operator) && (tok(j + 1).text == u"=" || tok(j + 1).text == u"==");
        // The same function again, around one parameter that has a name or a number: a bare "?" written twice would
        // be two parameters.
        if (!punct(j, ')') || !equals || !word(j + 2, {c.isMonth ? "Month" : "Year"}) || !punct(j + 3, '(') ||
            !kind(j + 4, Kind::Parameter) || tok(j + 4).text == u"?" || !punct(j + 5, ')'))
            return std::nullopt;
        c.parameter = tok(j + 4).text;
        c.last = j + 5;
        return c;
    }

    // Whether "... < kb_month_end(:A, :B) and" stands before k already: a
    // statement rewritten once stays as it is.
    bool hasRange(int k, const QString& month, const QString& year) const {
        return word(k - 1, {"AND"}) && punct(k - 2, ')') && kind(k - 3, Kind::Parameter) && tok(k - 3).text == year &&
               punct(k - 4, ',') && kind(k - 5, Kind::Parameter) && tok(k - 5).text == month && punct(k - 6, '(') &&
               word(k - 7, {kMonthEndFunction});
    }

    // Whether the pair at k follows "X >= kb_month_start(:A, :B) and X <
    // kb_month_end(:A, :B) and" with its own column X and parameters.
    bool ownRangeBefore(int k, const Conjunct& pair, const QString& month, const QString& year) const {
        const int width = pair.qualifier.isEmpty() ? 1 : 3;
        const auto bound = [&](int last, const char* function, const char* op) { // "X op function(:A, :B) and"
            return word(last, {"AND"}) && punct(last - 1, ')') && kind(last - 2, Kind::Parameter) &&
                   tok(last - 2).text == year && punct(last - 3, ',') && kind(last - 4, Kind::Parameter) &&
                   tok(last - 4).text == month && punct(last - 5, '(') && word(last - 6, {function}) &&
                   kind(last - 7, Kind::Operator) && tok(last - 7).text == QLatin1String(op) &&
                   isColumn(last - 7 - width, pair);
        };
        return bound(k - 1, kMonthEndFunction, "<") && bound(k - 9 - width, kMonthStartFunction, ">=") &&
               startsCondition(k - 16 - 2 * width);
    }

    // Whether the tokens from k are the pair's column, spelt as it spells it.
    bool isColumn(int k, const Conjunct& pair) const {
        if (pair.qualifier.isEmpty())
            return kind(k, Kind::Identifier) && tok(k).text.compare(pair.column, Qt::CaseInsensitive) == 0;
        return kind(k, Kind::Identifier) && tok(k).text.compare(pair.qualifier, Qt::CaseInsensitive) == 0 &&
               punct(k + 1, '.') && kind(k + 2, Kind::Identifier) &&
               tok(k + 2).text.compare(pair.column, Qt::CaseInsensitive) == 0;
    }

    static bool sameColumn(const Conjunct& a, const Conjunct& b) {
        return a.qualifier.compare(b.qualifier, Qt::CaseInsensitive) == 0 &&
               a.column.compare(b.column, Qt::CaseInsensitive) == 0;
    }

    // A column of a table of the schema declared as a date-time: the text order
    // of the range holds for the stored ISO texts, compared as bytes.
    bool isDateColumn(const Conjunct& c) const {
        if (!c.qualifier.isEmpty() && types_.hasTable(c.qualifier))
            return types_.type(c.qualifier, c.column) == sql::FieldType::DateTime;
        // A bare column or an alias: every table that has such a column must declare it a date-time.
        const QStringList tables = types_.tablesWithColumn(c.column);
        return !tables.isEmpty() && std::all_of(tables.begin(), tables.end(), [&](const QString& t) {
            return types_.type(t, c.column) == sql::FieldType::DateTime;
        });
    }

    // Whether a conjunct that begins at k is one term of the AND/OR chain of a
    // WHERE, ON or HAVING condition, possibly inside grouping parentheses. The
    // terms before it are passed over; a BETWEEN, CASE, select list or function
    // call on the way means the pair is part of some other expression.
    bool startsCondition(int k) const {
        if (!word(k - 1, {"AND", "OR", "WHERE", "ON", "HAVING"}) && !punct(k - 1, '('))
            return false;
        for (int j = k - 1; j >= 0; --j) {
            if (word(j, {"WHERE", "ON", "HAVING"}))
                return true;
            if (punct(j, ')')) {
                if (sig_.match[size_t(j)] < 0)
                    return false;
                j = sig_.match[size_t(j)];
            } else if (punct(j, '(')) {
                if (!word(j - 1, {"WHERE", "ON", "HAVING", "AND", "OR", "NOT"}) && !punct(j - 1, '('))
                    return false;
            } else if (punct(j, ',') || punct(j, ';') ||
                       word(j, {"SELECT", "BETWEEN", "CASE", "WHEN", "THEN", "ELSE", "END", "SET", "VALUES", "BY"})) {
                return false;
            }
        }
        return false;
    }

    // Whether the token at k ends the second conjunct as a term of the chain:
    // nothing that binds tighter than AND follows.
    bool endsCondition(int k) const {
        return k >= size() || punct(k, ')') || punct(k, ';') ||
               word(k, {"AND", "OR", "ORDER", "GROUP", "HAVING", "LIMIT", "WINDOW", "UNION", "INTERSECT", "EXCEPT",
                        "WHERE", "JOIN", "LEFT", "RIGHT", "FULL", "INNER", "CROSS", "NATURAL", "RETURNING"});
    }

    const QString& sql_;
    const sql::ColumnTypes& types_;
    const std::vector<Token> tokens_;
    const SignificantTokens sig_;
};

} // namespace

QString rangeMonthConditions(const QString& sql, const sql::ColumnTypes& types) {
    if (!sql.contains(QLatin1String("month"), Qt::CaseInsensitive))
        return sql;
    return MonthRanges(sql, types).run();
}

QString rangesOnly(const QString& sql, const sql::ColumnTypes& types) {
    if (!sql.contains(QLatin1String(kMonthEndFunction), Qt::CaseInsensitive))
        return sql;
    return MonthRanges(sql, types).run(true);
}

} // namespace kb::dialect
