#include "Transaction.h"

#include "Database.h"

Transaction::Transaction(Database& database) : m_database(database) {
    m_active = m_database.beginTransaction();
}

Transaction::~Transaction() {
    if (m_active)
        m_database.rollback();
}

bool Transaction::commit(const std::function<std::optional<bool>()>& stored) {
    if (!m_active)
        return false;
    m_active = false;
    return m_database.commit(stored);
}
