#include "PgSqlText.h"

#include "DbError.h"
#include "SqlLexer.h"

namespace kb::sql::pg {

namespace {

using Kind = Token::Kind;

class Translator {
public:
    Translator(const QHash<QString, QString>& names, const QSet<QString>& tables) : names_(names), tables_(tables) {}

    ServerText run(const QString& sql) {
        const std::vector<Token> tokens = tokenize(sql, Brackets::AreOperators); // [ ] are subscripts there
        for (size_t k = 0; k < tokens.size(); ++k) {
            const Token& t = tokens[k];
            if (t.kind == Kind::Space || t.kind == Kind::Comment) {
                out_ += t.text;
                continue;
            }
            if (t.kind == Kind::Operator && t.text.contains(QChar(0)))
                throw DbError(QStringLiteral("Текст запроса содержит символ с кодом 0"));
            if (t.kind == Kind::Punct && t.text == QLatin1String(";")) {
                ended_ = statementSeen_;
                out_ += t.text;
                continue;
            }
            if (ended_)
                throw DbError(QStringLiteral("Текст запроса содержит больше одной инструкции SQL"));
            statementSeen_ = true;
            // A ':' right after another is the server's cast (x::integer), never a parameter.
            const bool cast = k > 0 && tokens[k - 1].text.endsWith(QLatin1Char(':'));
            if (t.kind == Kind::Parameter && !(cast && t.text.startsWith(QLatin1Char(':')))) {
                parameter(t.text);
            } else if (t.kind == Kind::Parameter) {
                out_ += QLatin1Char(':');
                word(t.text.mid(1), calledAfter(tokens, k));
            } else if (t.kind == Kind::Identifier) {
                word(t.text, calledAfter(tokens, k));
            } else if (t.kind == Kind::QuotedIdentifier && t.text.startsWith(QLatin1Char('`'))) {
                QString name = t.text.mid(1, t.text.endsWith(QLatin1Char('`')) && t.length > 1 ? t.length - 2 : -1);
                name.replace(QLatin1String("``"), QLatin1String("`"));
                name.replace(QLatin1Char('"'), QLatin1String("\"\""));
                out_ += QLatin1Char('"') + name + QLatin1Char('"');
            } else {
                out_ += t.text;
            }
        }
        if (!statementSeen_)
            throw DbError(QStringLiteral("Текст запроса пуст"));
        return {out_, parameters_};
    }

private:
    // Whether the token at k is followed, past blanks only, by a '('.
    static bool calledAfter(const std::vector<Token>& tokens, size_t k) {
        size_t after = k + 1;
        while (after < tokens.size() && tokens[after].kind == Kind::Space)
            ++after;
        return after < tokens.size() && tokens[after].text == QLatin1String("(");
    }

    // A name of the schema is quoted in its spelling; a table's name before '(' is no call: INSERT INTO Sotr (FIO).
    void word(const QString& text, bool beforeParenthesis) {
        const QString key = text.toLower();
        const bool call = beforeParenthesis && !tables_.contains(key);
        const auto known = names_.constFind(key);
        if (!call && known != names_.cend())
            out_ += QLatin1Char('"') + *known + QLatin1Char('"');
        else
            out_ += text;
    }

    // ?, ?NNN, :Name, @Name, $Name as $n, numbered as SQLite numbers them.
    void parameter(const QString& text) {
        if (text.startsWith(QLatin1Char('?')))
            return use(text.size() > 1 ? text.mid(1).toInt() : highest_ + 1, QString());
        const qsizetype known = parameters_.indexOf(text);
        use(known >= 0 ? int(known) + 1 : highest_ + 1, text);
    }

    void use(int number, const QString& name) {
        if (number > highest_) {
            while (parameters_.size() < number)
                parameters_.append(QString());
            highest_ = number;
        }
        if (!name.isEmpty())
            parameters_[number - 1] = name;
        out_ += QLatin1Char('$') + QString::number(number);
    }

    const QHash<QString, QString>& names_;
    const QSet<QString>& tables_;
    QString out_;
    QStringList parameters_;
    int highest_ = 0;
    bool statementSeen_ = false; // anything but blanks, comments and ';'
    bool ended_ = false;         // a ';' after a statement: nothing more may follow
};

} // namespace

ServerText serverText(const QString& sql, const QHash<QString, QString>& names, const QSet<QString>& tables) {
    return Translator(names, tables).run(sql);
}

} // namespace kb::sql::pg
