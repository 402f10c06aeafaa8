#pragma once

#include "Exemption.h"

#include <optional>
#include <QList>

class Database;

// Reads and writes tblFreistellung, the companies' exemption certificates. Failure reporting as
// ProjectRepository.
class ExemptionRepository {
public:
    explicit ExemptionRepository(Database& database) : m_db(database) {}

    // The company's certificates, the one valid longest first (without an end last), then by entry.
    QList<Exemption> forCompany(qint64 companyId, bool* ok = nullptr) const;
    // The same for the first company (by name order) whose name equals name, ignoring case.
    QList<Exemption> forCompanyNamed(const QString& name, bool* ok = nullptr) const;
    // The companies (tblFirma.ID) whose latest certificate ends on or before lastDay, with that end.
    QList<std::pair<qint64, int>> endingBy(int lastDay, bool* ok = nullptr) const;
    std::optional<Exemption> find(qint64 id, bool* ok = nullptr) const;
    std::optional<qint64> add(const Exemption& exemption);
    // Stores every field of the row exemption.id.
    bool update(const Exemption& exemption);
    bool remove(qint64 id);
    // Within the caller's transaction: removes every certificate of the company.
    bool removeForCompany(qint64 companyId);

private:
    Database& m_db;
};
