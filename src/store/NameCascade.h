#pragma once

#include "Company.h"
#include "NameEntry.h"
#include "Project.h"

#include <QString>

class Database;

// Stores a changed master row and carries its name into the copies that bookings, estimate rows and
// companies hold, within the caller's transaction, which makes it all or nothing. Each returns false
// when the master row no longer exists or a write fails (Database::lastError() says why). An empty old
// name has no copies: fields left empty are not rewritten.
class NameCascade {
public:
    explicit NameCascade(Database& database) : m_db(database) {}

    // Projekt of the project's bookings and estimate rows (by ProjektID) that equal oldName ignoring case.
    bool changeProject(const Project& changed, const QString& oldName);
    // Firma, Gewerk and Kostengruppe of all bookings and estimate rows, in every project, whose Firma
    // equals oldName ignoring case: they get the company's name, trade and cost group.
    bool changeCompany(const Company& changed, const QString& oldName);
    // GewerkID of companies, Gewerk of bookings and estimate rows exactly equal to oldName.
    bool changeTrade(const NameEntry& changed, const QString& oldName);
    // KostengruppeID of companies, Kostengruppe of bookings and estimate rows exactly equal to oldName.
    bool changeCostGroup(const NameEntry& changed, const QString& oldName);

private:
    Database& m_db;
};
