#include "SignOffOperation.h"

#include "BookingRepository.h"
#include "Database.h"
#include "DayNumber.h"
#include "Journal.h"
#include "PaymentChecks.h"
#include "PaymentRepository.h"
#include "Session.h"
#include "SignOffRepository.h"
#include "Transaction.h"

#include <QSet>

namespace {

using Step = SignOffReading::Step;

QString named(const Booking& booking) {
    return QStringLiteral("Buchung Nr. %1 im Projekt %2")
        .arg(booking.runningNumber ? QString::number(*booking.runningNumber) : QStringLiteral("?"),
             booking.projectId.trimmed());
}

// The state the step leads to from state.
BookingState next(BookingState state, Step step, bool twoStep) {
    switch (step) {
    case Step::Confirm:
        return state == BookingState::Recorded && twoStep ? BookingState::FactuallyRight
                                                          : BookingState::Confirmed;
    case Step::Order:
        return BookingState::Ordered;
    default:
        return BookingState::Paid;
    }
}

QString task(Step step) {
    switch (step) {
    case Step::Confirm:
        return QStringLiteral("Feststellung");
    case Step::Order:
        return QStringLiteral("Anordnung");
    default:
        return QStringLiteral("Zahlung");
    }
}

} // namespace

Outcome SignOffOperation::confirm(const QList<qint64>& bookingIds) {
    return advance(bookingIds, Step::Confirm, std::nullopt);
}

Outcome SignOffOperation::order(const QList<qint64>& bookingIds) {
    return advance(bookingIds, Step::Order, std::nullopt);
}

Outcome SignOffOperation::markPaid(const QList<qint64>& bookingIds, int day) {
    return advance(bookingIds, Step::Pay, day);
}

Outcome SignOffOperation::advance(const QList<qint64>& bookingIds, Step step, std::optional<int> day) {
    const QList<qint64> ids = QSet<qint64>(bookingIds.cbegin(), bookingIds.cend()).values();
    if (ids.isEmpty())
        return Outcome::done();
    Database& db = m_session.database();
    SignOffRepository repository(db);
    const SignOffReading::Viewer viewer = SignOffReading::viewer(m_session);
    QString refusal;
    const bool advanced = db.retryOnceWhenBusy([&] {
        refusal.clear();
        Transaction transaction(db);
        bool ok = true;
        const QList<SignOffRepository::Pending> pending =
            transaction.isActive() ? repository.forBookings(ids, &ok) : QList<SignOffRepository::Pending>();
        if (!transaction.isActive() || !ok)
            return false;
        if (pending.size() != ids.size()) {
            refusal =
                QStringLiteral("Eine der gewählten Buchungen ist nicht mehr gespeichert; es wurde nichts "
                               "geändert.");
            return false;
        }
        QMap<BookingState, QList<qint64>> byTarget;
        for (const SignOffRepository::Pending& each : pending) {
            if (const std::optional<QString> why = SignOffReading::whyNot(viewer, each.signOff, step)) {
                refusal = named(each.booking) + QStringLiteral(": ") + *why;
                return false;
            }
            if (step == Step::Pay && day && !paidInTime(each.booking, *day, &refusal))
                return false;
            byTarget[next(each.signOff.state, step, viewer.rules.twoStep)] += each.booking.id;
        }
        if (!Journal(db).label(task(step)))
            return false;
        for (auto target = byTarget.cbegin(); target != byTarget.cend(); ++target) {
            if (!repository.step(target.value(), target.key(), viewer.login, day))
                return false;
        }
        return transaction.commit();
    });
    if (!refusal.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refusal);
    if (!advanced)
        return Outcome::ofStore(db);
    m_session.wrote();
    return Outcome::done();
}

Outcome SignOffOperation::cancel(qint64 bookingId, const QString& reason) {
    const QString why = reason.trimmed();
    if (why.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused,
                               QStringLiteral("Bitte geben Sie den Grund des Stornos an."));
    Database& db = m_session.database();
    SignOffRepository repository(db);
    BookingRepository bookings(db);
    const SignOffReading::Viewer viewer = SignOffReading::viewer(m_session);
    QString refusal;
    Booking counter;
    const bool cancelled = db.retryOnceWhenBusy([&] {
        refusal.clear();
        Transaction transaction(db);
        bool ok = true;
        const QList<SignOffRepository::Pending> pending = transaction.isActive()
                                                              ? repository.forBookings({bookingId}, &ok)
                                                              : QList<SignOffRepository::Pending>();
        if (!transaction.isActive() || !ok)
            return false;
        if (pending.isEmpty()) {
            refusal = QStringLiteral("Die Buchung ist nicht mehr gespeichert.");
            return false;
        }
        const Booking& original = pending.first().booking;
        if (const std::optional<QString> notOpen =
                SignOffReading::whyNot(viewer, pending.first().signOff, Step::Cancel)) {
            refusal = named(original) + QStringLiteral(": ") + *notOpen;
            return false;
        }
        if (!original.amount) {
            refusal =
                named(original) + QStringLiteral(": Eine Buchung ohne lesbaren Betrag wird nicht storniert.");
            return false;
        }
        counter = original;
        counter.id = 0;
        counter.runningNumber.reset();
        counter.amount = -*original.amount;
        counter.instructedOn = DayNumber::fromDate(QDate::currentDate());
        counter.instructedOnText.clear();
        counter.remarks =
            QStringLiteral("Storno zu Nr. %1: %2")
                .arg(original.runningNumber ? QString::number(*original.runningNumber) : QStringLiteral("?"),
                     why);
        return Journal(db).label(QStringLiteral("Storno")) && bookings.addNumbered(counter) &&
               repository.recorded(counter.id) && repository.link(counter.id, bookingId, why) &&
               cancelPayment(bookingId, counter) && transaction.commit();
    });
    if (!refusal.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refusal);
    if (!cancelled)
        return Outcome::ofStore(db);
    m_session.wrote();
    return Outcome::done(counter.id);
}

bool SignOffOperation::paidInTime(const Booking& booking, int day, QString* refusal) {
    bool ok = true;
    const std::optional<Payment> payment = PaymentRepository(m_session.database()).find(booking.id, &ok);
    if (!ok)
        return false;
    if (const std::optional<QString> late =
            payment ? PaymentChecks::latePayment(*payment, day) : std::nullopt) {
        *refusal = named(booking) + QStringLiteral(": ") + *late;
        return false;
    }
    return true;
}

bool SignOffOperation::cancelPayment(qint64 bookingId, const Booking& counter) {
    PaymentRepository payments(m_session.database());
    bool ok = true;
    const std::optional<Payment> original = payments.find(bookingId, &ok);
    if (!ok || !original)
        return ok;
    const auto negated = [](const std::optional<Money>& amount) {
        return amount ? std::optional(-*amount) : std::nullopt;
    };
    Payment reversed = *original;
    reversed.bookingId = counter.id;
    reversed.projectId = counter.projectId;
    for (std::optional<Money>* amount : {&reversed.invoiceAmount, &reversed.gross, &reversed.retention,
                                         &reversed.withholding, &reversed.discount})
        *amount = negated(*amount);
    return payments.add(reversed);
}

Outcome SignOffOperation::saveRules(const SignOffRules& rules) {
    Database& db = m_session.database();
    SignOffRepository repository(db);
    const auto word = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    const bool saved = db.retryOnceWhenBusy([&] {
        Transaction transaction(db);
        return transaction.isActive() && Journal(db).label(QStringLiteral("Voreinstellung")) &&
               repository.setSetting(SignOffRepository::fourEyesSetting(), word(rules.fourEyes)) &&
               repository.setSetting(SignOffRepository::twoStepSetting(), word(rules.twoStep)) &&
               transaction.commit();
    });
    if (!saved)
        return Outcome::ofStore(db);
    m_session.wrote();
    return Outcome::done();
}
