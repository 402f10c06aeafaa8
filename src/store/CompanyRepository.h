#pragma once

#include "Company.h"

#include <optional>
#include <QList>
#include <QStringList>

class Database;

// Reads and writes tblFirma. Failure reporting as ProjectRepository.
class CompanyRepository {
public:
    enum class SearchFrom { Anywhere, Left };

    explicit CompanyRepository(Database& database) : m_db(database) {}

    QList<Company> byId(bool* ok = nullptr) const;
    QList<Company> byName(bool* ok = nullptr) const;
    // The names alone, in the same order.
    QStringList namesByName(bool* ok = nullptr) const;
    // The company register's search: the user's text in trade, cost group, name, postcode or town,
    // anywhere or at the start of the field ('*' and '?' stay wildcards); in order of entry.
    QList<Company> search(const QString& userText, SearchFrom from, bool* ok = nullptr) const;
    // The booking entry's search: the text anywhere in name, trade, cost group, town or postcode;
    // ordered by name.
    QList<Company> searchByName(const QString& userText, bool* ok = nullptr) const;
    std::optional<Company> find(qint64 id, bool* ok = nullptr) const;
    // The first company (by name order) whose name equals name, ignoring case.
    std::optional<Company> findByName(const QString& name, bool* ok = nullptr) const;
    // The company as stored (Database::rowStamp): null when it is gone, nullopt when unreadable.
    std::optional<QString> stamp(qint64 id) const;
    std::optional<qint64> add(const Company& company);
    // Stores every field of the row company.id; the name copies: NameCascade.
    bool update(const Company& company);
    bool remove(qint64 id);

private:
    Database& m_db;
};
