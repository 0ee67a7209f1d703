// The SQL lexer and the rewrite of the strict conversion, on any text as a statement against the program's schema.

#include "Connection.h"
#include "DbError.h"
#include "Dialect.h"
#include "FuzzCheck.h"
#include "Schema.h"
#include "SqlLexer.h"

#include <QTemporaryDir>
#include <optional>

namespace {
using namespace kb;

struct Database {
    QTemporaryDir dir;
    sql::Connection connection{dir.filePath(QStringLiteral("BAZA.mdb")), sql::Connection::Mode::CreateNew};

    Database() {
        dialect::install(connection);
        connection.execute(dataset::schema::createStatements());
        connection.reloadColumnTypes();
    }
};

void checkTokens(const QString& sql) {
    int pos = 0;
    for (const sql::Token& t : sql::tokenize(sql)) {
        fuzz::check(t.begin == pos && t.length > 0 && t.text == sql.mid(t.begin, t.length),
                    "tokens cover the text in order", sql);
        pos += t.length;
    }
    fuzz::check(pos == sql.size(), "tokens reach the end of the text", sql);
    const QStringList names = sql::parameterNames(sql);
    for (qsizetype i = 0; i < names.size(); ++i)
        for (qsizetype j = i + 1; j < names.size(); ++j)
            fuzz::check(names[i].compare(names[j], Qt::CaseInsensitive) != 0, "placeholder names are distinct", sql);
}

// The result column names of a statement SQLite prepares; nullopt when it refuses it.
std::optional<QStringList> columnNames(const sql::Connection& connection, const QString& sql, bool rewritten) {
    try {
        sql::Statement st = rewritten ? dialect::prepare(connection, sql) : connection.prepareNative(sql);
        QStringList names;
        for (int i = 0; i < st.columnCount(); ++i)
            names.append(st.columnName(i));
        return names;
    } catch (const sql::DbError&) {
        return std::nullopt;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Database db;
    const QString sql = fuzz::utf8(fuzz::bytes(data, size));
    checkTokens(sql);
    const sql::ColumnTypes& types = db.connection.columnTypes();
    const QString once = dialect::rewrite(sql, types);
    // What a statement SQLite refuses turns into matters not: it fails either way.
    const auto written = once == sql ? std::nullopt : columnNames(db.connection, sql, false);
    if (!written)
        return 0;
    const QString twice = dialect::rewrite(once, types);
    fuzz::check(twice == once, "the rewrite is idempotent", sql + "\n->\n" + once + "\n->\n" + twice);
    const auto rewritten = columnNames(db.connection, sql, true);
    fuzz::check(rewritten.has_value(), "a statement SQLite takes still prepares once rewritten", sql + "\n->\n" + once);
    fuzz::check(*rewritten == *written, "the rewrite keeps the result column names",
                written->join(u'|') + "\n" + rewritten->join(u'|'));
    return 0;
}
