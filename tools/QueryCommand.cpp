#include "QueryCommand.h"

#include "Connection.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "DbTool.h"
#include "Dialect.h"
#include "Query.h"

#include <array>
#include <charconv>
#include <system_error>

namespace kb::tools {

namespace {

[[noreturn]] void badParam(const QString& argument, const QString& reason) {
    throw UsageError(QStringLiteral("Неверный параметр \"%1\": %2").arg(argument, reason).toStdString());
}

sql::Value parseValue(const QString& argument, dataset::ParamBinding::Kind kind, const QString& text) {
    switch (kind) {
    case dataset::ParamBinding::Kind::Text:
        return sql::Value(text);
    case dataset::ParamBinding::Kind::DateTime: {
        const auto dt = sql::datetime::fromIso(text);
        if (!dt)
            badParam(argument, QStringLiteral("дата и время ожидаются в виде YYYY-MM-DD HH:MM:SS"));
        return sql::Value(*dt);
    }
    case dataset::ParamBinding::Kind::Integer: {
        bool ok = false;
        const qint64 number = text.toLongLong(&ok);
        if (!ok)
            badParam(argument, QStringLiteral("ожидается целое число"));
        return sql::Value(number);
    }
    case dataset::ParamBinding::Kind::Float: {
        const std::string utf8 = text.toStdString();
        double number = 0;
        const auto [end, ec] = std::from_chars(utf8.data(), utf8.data() + utf8.size(), number);
        if (utf8.empty() || ec != std::errc() || end != utf8.data() + utf8.size())
            badParam(argument, QStringLiteral("ожидается число с точкой в качестве десятичного разделителя"));
        return sql::Value(number);
    }
    }
    badParam(argument, QStringLiteral("неизвестный вид значения"));
}

} // namespace

dataset::ParamBinding parseParam(const QString& argument) {
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    if (eq < 0)
        badParam(argument, QStringLiteral("ожидается NAME=KIND:VALUE"));
    QString name = argument.left(eq);
    if (name.startsWith(QLatin1Char(':')))
        name.remove(0, 1);
    if (name.isEmpty())
        badParam(argument, QStringLiteral("не указано имя параметра"));
    const QString rest = argument.mid(eq + 1);
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    if (colon < 0)
        badParam(argument, QStringLiteral("ожидается KIND:VALUE после \"=\""));
    const QString kindName = rest.left(colon);
    const QString text = rest.mid(colon + 1);

    dataset::ParamBinding param{name, dataset::ParamBinding::Kind::Text, sql::Value()};
    if (kindName == QLatin1String("datetime"))
        param.kind = dataset::ParamBinding::Kind::DateTime;
    else if (kindName == QLatin1String("text"))
        param.kind = dataset::ParamBinding::Kind::Text;
    else if (kindName == QLatin1String("int"))
        param.kind = dataset::ParamBinding::Kind::Integer;
    else if (kindName == QLatin1String("float"))
        param.kind = dataset::ParamBinding::Kind::Float;
    else
        badParam(argument, QStringLiteral("вид значения \"%1\" неизвестен (datetime, text, int, float)").arg(kindName));
    param.value = parseValue(argument, param.kind, text);
    return param;
}

std::string formatDouble(double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc())
        return "?";
    return std::string(buffer.data(), end);
}

std::string escapeText(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case '\t':
            escaped += QLatin1String("\\t");
            break;
        case '\n':
            escaped += QLatin1String("\\n");
            break;
        case '\r':
            escaped += QLatin1String("\\r");
            break;
        case '\\':
            escaped += QLatin1String("\\\\");
            break;
        default: // no control character reaches the terminal as it is
            if (ch.unicode() < 0x20 || ch.unicode() == 0x7f || (ch.unicode() >= 0x80 && ch.unicode() < 0xa0))
                escaped += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
            else
                escaped += ch;
        }
    }
    return escaped.toStdString();
}

std::string formatValue(const sql::Value& value) {
    switch (value.kind()) {
    case sql::Value::Kind::Null:
        return "NULL";
    case sql::Value::Kind::Integer:
        return std::to_string(value.toInt());
    case sql::Value::Kind::Float:
        return formatDouble(value.toDouble());
    case sql::Value::Kind::DateTime:
        return sql::datetime::toIso(value.toDateTime()).toStdString();
    case sql::Value::Kind::Text:
        return escapeText(value.text());
    }
    return {};
}

int runQueryCommand(const QString& fileName, const QStringList& params, const QStringList& lines, std::ostream& out) {
    dataset::QueryRequest request;
    for (const QString& param : params)
        request.bindings.push_back(parseParam(param));
    request.sql = lines;

    // The tool only reads: the file is opened read-only, and a statement that would change the database (a
    // DELETE ... RETURNING, a PRAGMA that sets something) is refused before it runs.
    sql::Connection connection(fileName, sql::Connection::Mode::ReadOnly);
    dialect::install(connection);
    if (!dialect::prepare(connection, request.sql.join(u'\n')).isReadOnly())
        throw sql::DbError(QStringLiteral("Команда query только читает базу данных: запрос, который изменяет её, не "
                                          "выполнен"));
    dataset::Query query(connection);
    dataset::openRequest(request, query);

    std::string text;
    for (int c = 0; c < query.fieldCount(); ++c) {
        if (c > 0)
            text += '\t';
        text += escapeText(query.fieldName(c));
    }
    text += '\n';
    for (int r = 0; r < query.recordCount(); ++r) {
        for (int c = 0; c < query.fieldCount(); ++c) {
            if (c > 0)
                text += '\t';
            text += formatValue(query.value(r, c));
        }
        text += '\n';
    }
    out << text;
    return kExitOk;
}

} // namespace kb::tools
