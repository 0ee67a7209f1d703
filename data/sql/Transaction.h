#pragma once

namespace kb::sql {

class Connection;

// A scoped write transaction: rolled back by the destructor unless commit() ran.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

// A scoped transaction that only reads: every statement in it sees one state of
// the database, whatever other connections commit meanwhile. Ended (rolled
// back, nothing having been written) by the destructor.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Connection& connection);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    Connection& connection_;
};

} // namespace kb::sql
