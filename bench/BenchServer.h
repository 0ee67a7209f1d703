#pragma once

#include <QString>

namespace kb::bench {

// A PostgreSQL server of the bench's own, made as the tests make theirs
// (tests/support/pg-server.sh): a fresh cluster in a temporary folder,
// listening on a Unix socket there only. Started by the constructor, stopped
// and removed by the destructor, so also when the bench fails. Its databases
// go with it: every run fills them again.
class TemporaryServer {
public:
    // stateFolder keeps the script's note of where the cluster lies.
    explicit TemporaryServer(const QString& stateFolder);
    ~TemporaryServer();
    TemporaryServer(const TemporaryServer&) = delete;
    TemporaryServer& operator=(const TemporaryServer&) = delete;

    // The connection to its maintenance database, as a libpq key=value string.
    const QString& connection() const { return connection_; }

private:
    void run(const char* action) const;

    QString stateFolder_;
    QString connection_;
};

// The generated database `file` on the server named by `server` (a libpq
// connection to any database there, which must let its user create
// databases): a database named after the file (the generator's version and
// the size) and the schema's version, made the first time by copying the
// file's rows into it in one transaction and analysing it; made under
// another name and renamed when complete, so that an interrupted fill is
// never reused. Returns the connection name of that database.
QString serverBenchDatabase(const QString& server, const QString& file);

} // namespace kb::bench
