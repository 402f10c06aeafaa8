#pragma once

#include "Company.h"
#include "Money.h"
#include "NameEntry.h"
#include "Project.h"

#include <optional>
#include <QString>

class Database;

// Stores a changed master row and carries its name into the copies that bookings, estimate rows and
// companies hold, all in one transaction: either everything is written or nothing. Each returns false
// when the master row no longer exists or a write fails (Database::lastError() says why). An empty old
// name has no copies: fields left empty are not rewritten.
class NameCascade {
public:
    // loadedStamp, when given, is the master row as it was loaded (Database::rowStamp): the change is
    // stored only when no other workstation changed the row since (lastFailure() Changed otherwise).
    explicit NameCascade(Database& database, QString loadedStamp = QString())
        : m_db(database), m_loadedStamp(std::move(loadedStamp)) {}

    // Projekt of the project's bookings and estimate rows (by ProjektID) that equal oldName ignoring case.
    bool changeProject(const Project& changed, const QString& oldName);
    // The same, storing the project's budget (none removes it) in the same transaction.
    bool changeProject(const Project& changed, const QString& oldName, const std::optional<Money>& budget);
    // Firma, Gewerk and Kostengruppe of all bookings and estimate rows, in every project, whose Firma
    // equals oldName ignoring case: they get the company's name, trade and cost group.
    bool changeCompany(const Company& changed, const QString& oldName);
    // GewerkID of companies, Gewerk of bookings and estimate rows exactly equal to oldName.
    bool changeTrade(const NameEntry& changed, const QString& oldName);
    // KostengruppeID of companies, Kostengruppe of bookings and estimate rows exactly equal to oldName.
    bool changeCostGroup(const NameEntry& changed, const QString& oldName);

private:
    bool stillAsLoaded(const QString& table, qint64 id);
    bool changeProject(const Project& changed, const QString& oldName, const std::optional<Money>& budget,
                       bool withBudget);

    Database& m_db;
    QString m_loadedStamp;
};
