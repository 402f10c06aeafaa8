#pragma once

#include <functional>
#include <optional>

class Database;

// Holds a transaction open for writes that belong together; rolls back in its destructor unless
// commit() succeeded.
class Transaction {
public:
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // False when the transaction could not be started; the caller must not write then.
    bool isActive() const { return m_active; }
    // Ends the transaction either way: a failed commit has rolled it back. stored: see Database::commit().
    bool commit(const std::function<std::optional<bool>()>& stored = {});

private:
    Database& m_database;
    bool m_active = false;
};
