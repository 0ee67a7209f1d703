#include "MonthStatement.h"

#include "Connection.h"
#include "DbError.h"
#include "Dialect.h"
#include "Query.h"
#include "QueryRequest.h"
#include "Statements.h"

namespace kb::documents {

namespace {

std::vector<StatementRow> run(sql::Connection& connection, const dataset::QueryRequest& request) {
    dataset::Query query(connection);
    dataset::openRequest(request, query);
    std::vector<StatementRow> rows;
    rows.reserve(size_t(query.recordCount()));
    for (int r = 0; r < query.recordCount(); ++r) {
        StatementRow row;
        row.reserve(size_t(query.fieldCount()));
        for (int c = 0; c < query.fieldCount(); ++c)
            row.push_back(query.value(r, c));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

const QStringList& statementTitles() {
    static const QStringList titles = [] {
        QStringList list;
        for (const reports::ColumnLayout& column : reports::salaryStatement(QDateTime()).columns)
            list << column.title;
        return list;
    }();
    return titles;
}

std::vector<StatementRow> loadStatement(sql::Connection& connection, const QDateTime& pickerValue) {
    return run(connection, reports::salaryStatement(pickerValue));
}

std::vector<StatementPart> loadStatementByBonus(sql::Connection& connection, const QDateTime& pickerValue) {
    // The statement's lines up to its ORDER BY, with one more condition: the bonus row.
    const reports::GridRequest whole = reports::salaryStatement(pickerValue);
    QStringList keySql = whole.sql;
    keySql.first() = QStringLiteral("SELECT DISTINCT Sotr.FIO, Premia.ID");
    keySql.removeAt(1); // the rest of the select list: the arithmetic that may fail
    keySql.last() = QStringLiteral("ORDER BY Sotr.FIO, Premia.ID");
    const std::vector<StatementRow> keys = run(connection, {keySql, whole.bindings});

    dataset::QueryRequest one = whole;
    one.sql.insert(one.sql.size() - 1, QStringLiteral("and Premia.ID = :BonusRow"));
    one.bindings.push_back({QStringLiteral("BonusRow"), dataset::ParamBinding::Kind::Integer, sql::Value()});
    std::vector<StatementPart> parts;
    parts.reserve(keys.size());
    for (const StatementRow& key : keys) {
        one.bindings.back().value = key.at(1);
        StatementPart part{key.at(0).text(), {}, {}};
        try {
            part.rows = run(connection, one);
        } catch (const sql::DbError& e) {
            part.refusal = QString::fromUtf8(e.what());
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

} // namespace kb::documents
