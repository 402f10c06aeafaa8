#pragma once

#include "Money.h"
#include "WithheldPayment.h"

#include <optional>
#include <QList>
#include <QString>

class Database;

// Reads what the construction withholding tax needs from the bookings and their payment data: a company's
// payments of a span of days, and the amounts withheld. Failure reporting as ProjectRepository.
class WithholdingRepository {
public:
    explicit WithholdingRepository(Database& database) : m_db(database) {}

    // The sum of the gross amounts (tblZahlung.Brutto, else the booking's Betrag) of the bookings of the
    // company (by name, ignoring case) over all projects paid from firstDay to lastDay, leaving out the
    // booking excluded; nullopt when it cannot be read. An amount that is no number adds nothing.
    std::optional<Money> grossPaid(const QString& company, int firstDay, int lastDay, qint64 excluded) const;
    // The bookings paid from firstDay to lastDay from which an amount was withheld, by payment day.
    QList<WithheldPayment> withheld(int firstDay, int lastDay, bool* ok = nullptr) const;

private:
    Database& m_db;
};
