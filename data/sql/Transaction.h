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

} // namespace kb::sql
