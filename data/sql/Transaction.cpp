#include "Transaction.h"

#include "Connection.h"
#include "ConnectionEngine.h"
#include "DbError.h"

#include <functional>

namespace kb::sql {

namespace {

// Runs BEGIN or COMMIT; another connection's write lock outlasting the busy timeout is reported as what it is, with
// the engine's words after it. A server's session words that itself, as any statement of a transaction may wait there.
void runTransactionStep(const Connection& connection, const std::function<void()>& step) {
    try {
        step();
    } catch (const DbError& e) {
        if (!e.isBusy() || connection.isServer())
            throw;
        throw busyWriting(connection.displayName(), e);
    }
}

} // namespace

Transaction::Transaction(Connection& connection) : connection_(connection) {
    runTransactionStep(connection_, [this] { connection_.engine().begin(); });
}

Transaction::~Transaction() {
    if (!done_)
        connection_.engine().rollback();
}

void Transaction::commit() {
    runTransactionStep(connection_, [this] { connection_.engine().commit(); });
    done_ = true;
}

ReadSnapshot::ReadSnapshot(Connection& connection) : connection_(connection) {
    runTransactionStep(connection_, [this] { connection_.engine().beginReadSnapshot(); });
}

ReadSnapshot::~ReadSnapshot() {
    connection_.engine().rollback();
}

} // namespace kb::sql
