#include "TableStatements.h"

#include "SqlName.h"
#include "TextMemo.h"

#include <QStringList>
#include <algorithm>

namespace kb::dataset {

TableStatements::TableStatements(const schema::TableDef& def) : table_(sql::quoteName(def.name)) {
    QStringList all;
    QStringList written;
    QStringList marks;
    for (size_t i = 0; i < def.fields.size(); ++i) {
        const schema::FieldDef& f = def.fields[i];
        names_.push_back(sql::quoteName(f.name));
        types_.push_back(f.type);
        all.append(names_.back());
        if (f.readOnly)
            continue;
        writable_.push_back(int(i));
        written.append(names_.back());
        marks.append(QStringLiteral("?"));
    }
    const auto key = std::find_if(def.fields.begin(), def.fields.end(), [](const auto& f) { return f.readOnly; });
    keyColumn_ = key == def.fields.end() ? 0 : int(key - def.fields.begin());
    key_ = names_.empty() ? QStringLiteral("\"ID\"") : names_[size_t(keyColumn_)];
    columns_ = all.join(QStringLiteral(", "));

    // Three subqueries, one statement and so one consistent read: the count
    // walks the smallest index, the least and the greatest ID are one lookup each.
    bounds_ = QStringLiteral("SELECT (SELECT count(*) FROM %1), (SELECT min(%2) FROM %1), (SELECT max(%2) FROM %1)")
                  .arg(table_, key_);
    keysAscending_ = QStringLiteral("SELECT %2 FROM %1 WHERE %2 > ? AND %2 <= ? ORDER BY %2 LIMIT ?").arg(table_, key_);
    keysDescending_ =
        QStringLiteral("SELECT %2 FROM %1 WHERE %2 > ? AND %2 <= ? ORDER BY %2 DESC LIMIT ?").arg(table_, key_);
    keysBelow_ = QStringLiteral("SELECT (SELECT count(*) FROM %1 WHERE %2 > ? AND %2 < ?), "
                                "(SELECT count(*) FROM %1 WHERE %2 = ?)")
                     .arg(table_, key_);
    rowsBetween_ = QStringLiteral("SELECT %3 FROM %1 WHERE %2 BETWEEN ? AND ?").arg(table_, key_, columns_);
    rowByKey_ = QStringLiteral("SELECT %3 FROM %1 WHERE %2 = ?").arg(table_, key_, columns_);
    insert_ =
        (written.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table_)
                           : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                 .arg(table_, written.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))) +
        QStringLiteral(" RETURNING ") + columns_;
    remove_ = QStringLiteral("DELETE FROM %1 WHERE %2 = ? RETURNING %2").arg(table_, key_);
}

QString TableStatements::rowsListed(int count) const {
    return QStringLiteral("SELECT %3 FROM %1 WHERE %2 IN (%4)")
        .arg(table_, key_, columns_, QStringList(count, QStringLiteral("?")).join(QLatin1Char(',')));
}

QString TableStatements::update(const std::vector<int>& columns) const {
    QStringList assignments;
    for (int c : columns)
        assignments.append(names_[size_t(c)] + QStringLiteral(" = ?"));
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ? RETURNING %4")
        .arg(table_, assignments.join(QStringLiteral(", ")), key_, columns_);
}

TableStatements::Row TableStatements::read(const sql::Statement& statement, std::span<sql::TextMemo> memos) const {
    return statement.row(types_, memos);
}

} // namespace kb::dataset
