#include "BookingOperation.h"

#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "Database.h"
#include "InvoiceFileRepository.h"
#include "Journal.h"
#include "PaymentRepository.h"
#include "Session.h"
#include "SignOffRepository.h"
#include "Transaction.h"

Outcome BookingOperation::book(Booking& booking, const std::optional<AsLoaded>& replacing,
                               bool companyInRegister, const InvoiceOriginal* invoice,
                               const std::optional<Payment>& payment) {
    Database& db = m_session.database();
    QString refusal;
    const std::optional<PaymentToStore> toStore =
        paymentToStore(booking, replacing, invoice, payment, &refusal);
    if (!refusal.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refusal);
    if (!toStore)
        return Outcome::ofStore(db);
    BookingRepository bookings(db);
    InvoiceFileRepository files(db);
    // The payment row follows the booking's insert, and the orders' discounts are read with it.
    QList<Database::Statement> followers;
    if (toStore->payment) {
        Payment stored = *toStore->payment;
        stored.projectId = booking.projectId;
        followers.append(PaymentRepository::addition(stored));
    }
    const Database::Statement question = toStore->toConfirm
                                             ? PaymentRepository::agreedDiscountsQuestion(booking.projectId)
                                             : Database::Statement();
    Booking stored;
    bool originalRefused = false;
    bool nameGone = false;
    bool notAgreed = false;
    QString signedOff;
    const bool booked = db.retryOnceWhenBusy([&] {
        stored = booking;
        originalRefused = false;
        nameGone = false;
        notAgreed = false;
        signedOff.clear();
        Transaction transaction(db);
        if (!transaction.isActive())
            return false;
        if (replacing && !replacing->m_stamp.isNull() &&
            !bookings.stillAsLoaded(replacing->m_id, replacing->m_stamp)) {
            originalRefused = true;
            return false;
        }
        if (companyInRegister && !db.companyStillThere(booking.company)) {
            nameGone = true;
            return false;
        }
        // The journal tells the booking taken back and replaced from one deleted.
        if (replacing && !stillOpen(replacing->m_id, SignOffReading::Step::TakeBack, &signedOff))
            return false;
        if (replacing && !Journal(db).label(QStringLiteral("Korrektur")))
            return false;
        if (replacing && !bookings.remove(replacing->m_id)) {
            originalRefused = true;
            return false;
        }
        if (replacing && !PaymentRepository(db).remove(replacing->m_id))
            return false;
        bool confirmed = !toStore->toConfirm;
        const auto agreedByOrders = [&](const DatabaseRow& row, int first) {
            const auto discount = PaymentRepository::agreedDiscount(row, first, booking.company);
            if (discount && toStore->toConfirm->percent == discount->first &&
                toStore->toConfirm->days == discount->second)
                confirmed = true;
        };
        if (!bookings.addNumbered(stored, followers, question, agreedByOrders) ||
            !SignOffRepository(db).recorded(stored.id))
            return false;
        // Not agreed: nothing of the booking is kept.
        if (!confirmed) {
            notAgreed = true;
            return false;
        }
        if (replacing && !files.moveToBooking(replacing->m_id, stored.id))
            return false;
        if (invoice && !storeInvoice(stored.id, stored, *invoice))
            return false;
        return transaction.commit([&] { return bookings.storedAs(stored.id, *stored.runningNumber); });
    });
    if (notAgreed) {
        if (const std::optional<QString> why =
                PaymentChecks::refusal(booking, *toStore->payment, toStore->agreed))
            return Outcome::failed(Outcome::Kind::Refused, *why);
    }
    if (!booked) {
        if (!signedOff.isEmpty())
            return Outcome::failed(Outcome::Kind::Refused, signedOff);
        if (nameGone)
            return Outcome::failed(Outcome::Kind::NameGone, db.lastReason());
        const Outcome failure = Outcome::ofStore(db);
        if (failure.kind() == Outcome::Kind::Gone && !originalRefused)
            return Outcome::failed(Outcome::Kind::Other, failure.text());
        return failure;
    }
    booking = stored;
    m_session.wrote();
    return Outcome::done(stored.id);
}

std::optional<BookingOperation::PaymentToStore>
BookingOperation::paymentToStore(const Booking& booking, const std::optional<AsLoaded>& replacing,
                                 const InvoiceOriginal* invoice, const std::optional<Payment>& payment,
                                 QString* refusal) {
    PaymentToStore toStore;
    if (!payment && !replacing)
        return toStore;
    bool ok = true;
    const std::optional<Payment> replaced =
        replacing ? PaymentRepository(m_session.database()).find(replacing->m_id, &ok) : std::nullopt;
    if (!ok)
        return std::nullopt;
    toStore.payment = payment ? payment : replaced;
    if (!toStore.payment)
        return toStore;
    const Payment& kept = *toStore.payment;
    if (invoice)
        toStore.agreed += invoice->discounts;
    if (replaced && replaced->discountPercent && replaced->discountDays)
        toStore.agreed.append({*replaced->discountPercent, *replaced->discountDays});
    if (kept.discount && kept.discount->cents() != 0 && kept.discountPercent && kept.discountDays) {
        const PaymentChecks::AgreedDiscount asked{*kept.discountPercent, *kept.discountDays};
        if (!toStore.agreed.contains(asked)) {
            // When nothing else stands against the booking, the orders' agreement is read as it is stored;
            // otherwise now, so that the reason given is the first that holds.
            QList<PaymentChecks::AgreedDiscount> assumed = toStore.agreed;
            assumed.append(asked);
            if (!PaymentChecks::refusal(booking, kept, assumed)) {
                toStore.toConfirm = asked;
                return toStore;
            }
            for (const auto& [percent, days] : PaymentRepository(m_session.database())
                                                   .agreedDiscounts(booking.projectId, booking.company, &ok))
                toStore.agreed.append({percent, days});
            if (!ok)
                return std::nullopt;
        }
    }
    if (const std::optional<QString> why = PaymentChecks::refusal(booking, kept, toStore.agreed))
        *refusal = *why;
    return toStore;
}

bool BookingOperation::storeInvoice(qint64 bookingId, const Booking& booking,
                                    const InvoiceOriginal& invoice) {
    Database& db = m_session.database();
    InvoiceFileRepository files(db);
    if (!files.add(bookingId, booking.projectId, invoice.fileName, invoice.bytes))
        return false;
    if (invoice.sellerVatNumber.isEmpty())
        return true;
    bool ok = true;
    const std::optional<Company> found = CompanyRepository(db).findByName(booking.company, &ok);
    if (!ok)
        return false;
    return !found || files.rememberVatNumber(invoice.sellerVatNumber, found->id);
}

bool BookingOperation::stillOpen(qint64 id, SignOffReading::Step step, QString* refusal) {
    bool ok = true;
    const std::optional<SignOff> signOff = SignOffRepository(m_session.database()).find(id, &ok);
    if (!ok)
        return false;
    if (!signOff)
        return true;
    SignOffReading::Viewer anyone;
    if (const std::optional<QString> why = SignOffReading::whyNot(anyone, *signOff, step))
        *refusal = *why;
    return refusal->isEmpty();
}

std::optional<Loaded<Booking>> BookingOperation::takeBack(qint64 id, Outcome* failure) {
    QString refusal;
    if (!stillOpen(id, SignOffReading::Step::TakeBack, &refusal)) {
        if (failure)
            *failure = refusal.isEmpty() ? Outcome::ofStore(m_session.database())
                                         : Outcome::failed(Outcome::Kind::Refused, refusal);
        return std::nullopt;
    }
    BookingRepository bookings(m_session.database());
    const std::optional<QString> stamp = bookings.stamp(id);
    bool ok = true;
    const std::optional<Booking> booking = stamp && !stamp->isNull() ? bookings.find(id, &ok) : std::nullopt;
    if (!booking || !stamp) {
        if (failure)
            *failure = !stamp || !ok ? Outcome::ofStore(m_session.database())
                                     : Outcome::failed(Outcome::Kind::Gone, QString());
        return std::nullopt;
    }
    return Loaded<Booking>{*booking, AsLoaded(*stamp, id)};
}

std::optional<AsLoaded::State> BookingOperation::state(const AsLoaded& loaded) {
    Database& db = m_session.database();
    const std::optional<QString> stamp = BookingRepository(db).stamp(loaded.m_id);
    if (!stamp)
        return std::nullopt;
    if (stamp->isNull())
        return AsLoaded::State::Gone;
    return db.stillAsLoaded(*stamp, loaded.m_stamp) ? AsLoaded::State::Unchanged : AsLoaded::State::Changed;
}

Outcome BookingOperation::remove(qint64 id) {
    Database& db = m_session.database();
    InvoiceFileRepository files(db);
    const bool withFile = files.forBooking(id).has_value();
    Transaction transaction(db);
    QString refusal;
    const bool open = transaction.isActive() && stillOpen(id, SignOffReading::Step::Remove, &refusal);
    if (!refusal.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refusal);
    const bool removed = open && BookingRepository(db).remove(id) && PaymentRepository(db).remove(id) &&
                         (!withFile || files.detachFromBooking(id)) && transaction.commit();
    if (!removed)
        return Outcome::ofStore(db);
    m_session.wrote();
    return Outcome::done();
}
