#include "OptimisticSave.h"

#include "Connection.h"
#include "Transaction.h"

namespace kb::dataset {

OptimisticSave::Outcome OptimisticSave::save(const TableStatements::Row& original,
                                             const TableStatements::Row& pending) const {
    using Kind = Outcome::Kind;
    std::vector<int> changed;
    for (int c : statements_.writable()) {
        if (!(pending[size_t(c)] == original[size_t(c)]))
            changed.push_back(c);
    }
    if (changed.empty())
        return {Kind::Unchanged, {}, {}};
    const sql::Value key = original[size_t(statements_.keyColumn())];
    sql::Transaction transaction(connection_);
    TableStatements::Row current;
    {
        // A file's write lock, taken when the transaction began, keeps every other writer out until the commit; on a
        // server the row's lock does so for this row.
        sql::Statement read = connection_.prepareNative(
            connection_.isServer() ? statements_.rowByKey() + QStringLiteral(" FOR UPDATE") : statements_.rowByKey());
        read.bind(1, key);
        if (!read.step())
            return {Kind::Vanished, {}, {}};
        current = statements_.read(read);
    }
    QStringList conflicts;
    for (int c : changed) {
        if (!(current[size_t(c)] == original[size_t(c)]))
            conflicts.append(def_.fields[size_t(c)].name);
    }
    if (!conflicts.isEmpty())
        return {Kind::ChangedMeanwhile, std::move(current), conflicts};
    TableStatements::Row stored;
    {
        sql::Statement update = connection_.prepareNative(statements_.update(changed));
        int index = 1;
        for (int c : changed)
            update.bind(index++, pending[size_t(c)]);
        update.bind(index, key);
        stored = update.step() ? statements_.read(update) : pending;
    }
    transaction.commit();
    return {Kind::Saved, std::move(stored), {}};
}

} // namespace kb::dataset
