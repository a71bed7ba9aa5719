#pragma once

namespace quillon {

class Database;

// Runs the statements made between its construction and commit() as one transaction; a guard
// that is destroyed without commit() rolls everything back.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& db_;
    bool done_ = false;
};

} // namespace quillon
