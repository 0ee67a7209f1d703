#include "Transaction.h"

#include "Connection.h"
#include "DbError.h"

#include <QDir>
#include <sqlite3.h>

namespace kb::sql {

namespace {

// Runs BEGIN or COMMIT; another connection's write lock outlasting the busy
// timeout is reported as what it is, with the engine's words after it.
void runTransactionStatement(Connection& connection, const QString& sql) {
    try {
        connection.execute(sql);
    } catch (const DbError& e) {
        if (!e.isBusy())
            throw;
        throw DbError(QStringLiteral("База данных %1 занята другим пользователем или программой: изменения не "
                                     "записаны (%2)")
                          .arg(QDir::toNativeSeparators(connection.fileName()), QString::fromUtf8(e.what())),
                      e.sqliteCode());
    }
}

} // namespace

Transaction::Transaction(Connection& connection) : connection_(connection) {
    // IMMEDIATE takes the write lock now, so a conflict shows before anything is written.
    runTransactionStatement(connection_, QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction() {
    if (!done_)
        sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    runTransactionStatement(connection_, QStringLiteral("COMMIT"));
    done_ = true;
}

} // namespace kb::sql
