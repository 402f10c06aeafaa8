#pragma once

#include "Security.h"

#include <optional>
#include <QList>

class Database;

// Reads and writes tblSicherheit, the securities the companies gave. Failure reporting as
// ProjectRepository.
class SecurityRepository {
public:
    explicit SecurityRepository(Database& database) : m_db(database) {}

    // The project's securities in order of entry.
    QList<Security> forProject(const QString& projectId, bool* ok = nullptr) const;
    std::optional<Security> find(qint64 id, bool* ok = nullptr) const;
    // The security as stored (Database::rowStamp): null when it is gone, nullopt when unreadable.
    std::optional<QString> stamp(qint64 id) const;
    std::optional<qint64> add(const Security& security);
    // Stores every field of the row security.id.
    bool update(const Security& security);
    bool remove(qint64 id);

private:
    Database& m_db;
};
