#include "PgSqlText.h"

#include "DbError.h"

namespace kb::sql::pg {

namespace {

bool isNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

bool isNamePart(QChar c) {
    return isNameStart(c) || c.isDigit() || c == QLatin1Char('$');
}

class Translator {
public:
    Translator(const QString& sql, const QHash<QString, QString>& names, const QSet<QString>& tables)
        : in_(sql), names_(names), tables_(tables) {}

    ServerText run() {
        bool statementSeen = false, ended = false;
        while (i_ < in_.size()) {
            const QChar c = in_[i_];
            if (c.isSpace()) {
                out_ += c;
                ++i_;
                continue;
            }
            if (c == QLatin1Char('-') && next(1) == QLatin1Char('-')) {
                copyUntil(QStringLiteral("\n"), true);
                continue;
            }
            if (c == QLatin1Char('/') && next(1) == QLatin1Char('*')) {
                copyUntil(QStringLiteral("*/"), false);
                continue;
            }
            if (c == QChar(0))
                throw DbError(QStringLiteral("Текст запроса содержит символ с кодом 0"));
            if (c == QLatin1Char(';')) {
                ended = statementSeen;
                out_ += c;
                ++i_;
                continue;
            }
            if (ended)
                throw DbError(QStringLiteral("Текст запроса содержит больше одной инструкции SQL"));
            statementSeen = true;
            token(c);
        }
        if (!statementSeen)
            throw DbError(QStringLiteral("Текст запроса пуст"));
        return {out_, parameters_};
    }

private:
    QChar next(int k) const { return i_ + k < in_.size() ? in_[i_ + k] : QChar(); }

    // Copies up to and including the end mark (a line comment keeps its line break as a blank).
    void copyUntil(const QString& mark, bool lineComment) {
        const qsizetype end = in_.indexOf(mark, i_ + 2);
        const qsizetype stop = end < 0 ? in_.size() : end + (lineComment ? 0 : mark.size());
        out_ += QStringView(in_).mid(i_, stop - i_);
        i_ = stop;
    }

    // A string or a quoted name from its opening quote to the closing one; a doubled quote stays inside.
    QString quoted(QChar close) {
        qsizetype k = i_ + 1;
        for (; k < in_.size(); ++k) {
            if (in_[k] == close) {
                if (k + 1 < in_.size() && in_[k + 1] == close) {
                    ++k;
                    continue;
                }
                break;
            }
        }
        const QString text = in_.mid(i_ + 1, k - i_ - 1);
        i_ = std::min(k + 1, in_.size());
        return text;
    }

    void token(QChar c) {
        if (c == QLatin1Char('\'')) {
            const qsizetype from = i_;
            quoted(c);
            out_ += QStringView(in_).mid(from, i_ - from);
        } else if (c == QLatin1Char('"')) {
            const qsizetype from = i_;
            quoted(c);
            out_ += QStringView(in_).mid(from, i_ - from);
        } else if (c == QLatin1Char('`')) {
            QString name = quoted(c);
            name.replace(QLatin1String("``"), QLatin1String("`"));
            name.replace(QLatin1Char('"'), QLatin1String("\"\""));
            out_ += QLatin1Char('"') + name + QLatin1Char('"');
        } else if (c == QLatin1Char('?')) {
            qsizetype k = i_ + 1;
            while (k < in_.size() && in_[k].isDigit())
                ++k;
            int number = k > i_ + 1 ? in_.mid(i_ + 1, k - i_ - 1).toInt() : highest_ + 1;
            use(number, QString());
            i_ = k;
        } else if ((c == QLatin1Char(':') || c == QLatin1Char('@') || c == QLatin1Char('$')) && isNameStart(next(1)) &&
                   !(c == QLatin1Char(':') && i_ > 0 && in_[i_ - 1] == QLatin1Char(':'))) {
            qsizetype k = i_ + 1;
            while (k < in_.size() && isNamePart(in_[k]) && in_[k] != QLatin1Char('$'))
                ++k;
            const QString name = in_.mid(i_, k - i_);
            const qsizetype known = parameters_.indexOf(name);
            use(known >= 0 ? int(known) + 1 : highest_ + 1, name);
            i_ = k;
        } else if (isNameStart(c)) {
            qsizetype k = i_;
            while (k < in_.size() && isNamePart(in_[k]))
                ++k;
            const QString word = in_.mid(i_, k - i_);
            i_ = k;
            qsizetype after = k;
            while (after < in_.size() && in_[after].isSpace())
                ++after;
            const QString key = word.toLower();
            // A table's name before '(' is no call: INSERT INTO Sotr (FIO) ...
            const bool call = after < in_.size() && in_[after] == QLatin1Char('(') && !tables_.contains(key);
            const auto known = names_.constFind(key);
            if (!call && known != names_.cend())
                out_ += QLatin1Char('"') + *known + QLatin1Char('"');
            else
                out_ += word;
        } else if (c.isDigit()) { // a number, with its exponent: 1e5 is no name
            qsizetype k = i_;
            while (k < in_.size() && (isNamePart(in_[k]) || in_[k] == QLatin1Char('.') ||
                                      ((in_[k] == QLatin1Char('+') || in_[k] == QLatin1Char('-')) &&
                                       (in_[k - 1] == QLatin1Char('e') || in_[k - 1] == QLatin1Char('E')))))
                ++k;
            out_ += QStringView(in_).mid(i_, k - i_);
            i_ = k;
        } else {
            out_ += c;
            ++i_;
        }
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

    const QString& in_;
    const QHash<QString, QString>& names_;
    const QSet<QString>& tables_;
    qsizetype i_ = 0;
    QString out_;
    QStringList parameters_;
    int highest_ = 0;
};

} // namespace

ServerText serverText(const QString& sql, const QHash<QString, QString>& names, const QSet<QString>& tables) {
    return Translator(sql, names, tables).run();
}

} // namespace kb::sql::pg
