#pragma once

#include "Booking.h"
#include "Payment.h"

#include <optional>
#include <QList>
#include <QString>

class Database;

// Reads the bookings whose invoices wait for payment: received (tblZahlung.Eingang), not paid
// (tblFreigabe.Status) and neither cancelled by a storno nor one, through the index on the receipt day or
// on the project.
class DueRepository {
public:
    struct Open {
        Booking booking;
        Payment payment;
    };

    explicit DueRepository(Database& database) : m_db(database) {}

    // The open bookings of the project (all projects when empty) received on or before receivedUpTo (any
    // day when none), by receipt day and booking. ok false: they could not be read.
    QList<Open> open(const QString& projectId, std::optional<int> receivedUpTo, bool* ok = nullptr) const;

private:
    Database& m_db;
};
