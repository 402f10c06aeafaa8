#pragma once

#include "OrderTerms.h"

#include <optional>
#include <QList>

class Database;

// Reads and writes tblZahlungsbedingung, the payment terms of the companies' orders. Failure reporting as
// ProjectRepository.
class OrderTermsRepository {
public:
    explicit OrderTermsRepository(Database& database) : m_db(database) {}

    // The terms of the order numbered runningNumber of the company in the project.
    std::optional<OrderTerms> find(const QString& projectId, qint64 companyId, int runningNumber,
                                   bool* ok = nullptr) const;
    // Every company's terms in the project, in order of entry.
    QList<OrderTerms> forProject(const QString& projectId, bool* ok = nullptr) const;
    // The terms as stored (Database::rowStamp): null when they are gone, nullopt when unreadable.
    std::optional<QString> stamp(qint64 id) const;
    std::optional<qint64> add(const OrderTerms& terms);
    // Stores every field of the row terms.id.
    bool update(const OrderTerms& terms);
    // Within the caller's transaction: removes the terms of the company's order, if it has any.
    bool removeFor(const QString& projectId, qint64 companyId, int runningNumber);
    // Within the caller's transaction: the terms of the company's order from becomes those of to.
    bool renumber(const QString& projectId, qint64 companyId, int from, int to);

private:
    Database& m_db;
};
