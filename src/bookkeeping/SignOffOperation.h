#pragma once

#include "Outcome.h"
#include "SignOffReading.h"
#include "SignOffRules.h"

#include <optional>
#include <QList>
#include <QString>
#include <QtGlobal>

class Session;

// The steps of a booking's way to payment: confirming (in one step, or "sachlich richtig" then
// "rechnerisch richtig"), ordering, marking paid, and cancelling an ordered booking by a linked
// counter-booking. Each call runs in one transaction, all or nothing; a refusal names the booking by its
// project and running number and says why.
class SignOffOperation {
public:
    explicit SignOffOperation(Session& session) : m_session(session) {}

    // The next confirming step of each booking.
    Outcome confirm(const QList<qint64>& bookingIds);
    Outcome order(const QList<qint64>& bookingIds);
    // day: the day number the cash office paid.
    Outcome markPaid(const QList<qint64>& bookingIds, int day);
    // Books the counter-booking of the negative amount; identity() is its ID.
    Outcome cancel(qint64 bookingId, const QString& reason);
    Outcome saveRules(const SignOffRules& rules);

private:
    Outcome advance(const QList<qint64>& bookingIds, SignOffReading::Step step, std::optional<int> day);
    // Whether booking may be paid on day: not after the last day of a discount it took (refusal says why;
    // it stays empty when the file cannot be read).
    bool paidInTime(const Booking& booking, int day, QString* refusal);
    // Within the storno's transaction: counter gets the cancelled booking's payment, each amount negated.
    bool cancelPayment(qint64 bookingId, const Booking& counter);

    Session& m_session;
};
