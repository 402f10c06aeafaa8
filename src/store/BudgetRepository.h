#pragma once

#include "Booking.h"
#include "Money.h"

#include <optional>
#include <QHash>
#include <QList>
#include <QString>

class Database;

// Reads and writes tblBudget, each project's approved budget keyed by the project's ID, and adds up what
// the project list shows beside it: each project's payments and its orders with their supplements, as
// the database keeps them (ProjectSums) or, while those are not known whole, one grouped query per
// table. Failure reporting as ProjectRepository.
class BudgetRepository {
public:
    // What a project has paid and what its orders and supplements commit, by the trimmed ProjektID text.
    struct Sums {
        Money paid;
        Money committed;
    };

    explicit BudgetRepository(Database& database) : m_db(database) {}

    std::optional<Money> find(qint64 projectId, bool* ok = nullptr) const;
    QHash<qint64, Money> all(bool* ok = nullptr) const;
    // Stores the project's budget; none removes it. Runs within the caller's transaction when there is
    // one.
    bool store(qint64 projectId, const std::optional<Money>& budget);
    bool remove(qint64 projectId);
    // Every project's payments and committed amount; an amount that is not a number adds nothing.
    QHash<QString, Sums> sumsByProject(bool* ok = nullptr) const;
    // The payments of one project (by its rows' ProjektID, through its index), leaving out the booking
    // leftOut: their sum (from the sums the database keeps while they are whole, otherwise from every
    // row), and the bookings of company (its name compared ignoring case) with their invoice number,
    // running number, instruction date and amount.
    bool readPayments(const QString& projectId, std::optional<qint64> leftOut, const QString& company,
                      Money& total, QList<Booking>& companyBookings) const;

private:
    Database& m_db;
};
