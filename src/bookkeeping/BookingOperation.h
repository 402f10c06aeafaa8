#pragma once

#include "AsLoaded.h"
#include "Booking.h"
#include "Outcome.h"
#include "Payment.h"
#include "PaymentChecks.h"
#include "SignOffReading.h"

#include <optional>
#include <QByteArray>
#include <QString>

class Session;

// The work on a project's bookings: booking a payment (new, or as the correction of one taken back, with
// the original of its e-invoice), taking a booking back for correction and removing one. Each write runs
// in one transaction of its own, tried once more when the file was busy, and tells the session.
class BookingOperation {
public:
    // The original of the e-invoice a booking is made from, stored with it byte for byte.
    struct InvoiceOriginal {
        QString fileName;
        QByteArray bytes;
        // The seller's VAT number, remembered for the booking's company.
        QString sellerVatNumber;
        // The discounts its payment terms grant.
        QList<PaymentChecks::AgreedDiscount> discounts = {};
    };

    explicit BookingOperation(Session& session) : m_session(session) {}

    // Books booking with the next running number of its project. When replacing is given, the booking
    // taken back is removed in the same transaction and hands its e-invoice file on; it is replaced only
    // while it is still as loaded (Changed otherwise, Gone when it was removed). companyInRegister: the
    // booking's company must still be in the register (NameGone, with the reason alone, otherwise).
    // invoice, when given, is stored with the new booking in the same transaction. On success booking
    // holds the stored ID and number. payment, when given, is stored beside the booking (its booking and
    // project taken from it); a booking replaced without one hands its own payment on. A payment whose
    // figures do not add up to the booking's amount, or break a rule of deductions, is refused.
    Outcome book(Booking& booking, const std::optional<AsLoaded>& replacing = std::nullopt,
                 bool companyInRegister = false, const InvoiceOriginal* invoice = nullptr,
                 const std::optional<Payment>& payment = std::nullopt);
    // Reads the booking for correction, its state read first so that a change in between is caught;
    // nullopt when it is gone or cannot be read (failure tells which).
    std::optional<Loaded<Booking>> takeBack(qint64 id, Outcome* failure = nullptr);
    // What became of the booking taken back; nullopt when the file cannot be read.
    std::optional<AsLoaded::State> state(const AsLoaded& loaded);
    // Removes the booking; an e-invoice file stored with it stays in the file, detached. An ordered
    // booking is neither taken back nor removed (Refused): it is corrected by a storno.
    Outcome remove(qint64 id);

private:
    // Whether step is still open for the booking as its state goes (an ordered booking is neither taken
    // back nor removed); false with refusal empty when the state cannot be read.
    bool stillOpen(qint64 id, SignOffReading::Step step, QString* refusal);
    // The payment to store with a booking: the payment given, or else the booking replaced's; the
    // discounts known to be agreed (by the e-invoice, and as the booking replaced took it); and the
    // discount taken whose agreement by the company's orders is read as the booking is stored.
    struct PaymentToStore {
        std::optional<Payment> payment;
        QList<PaymentChecks::AgreedDiscount> agreed;
        std::optional<PaymentChecks::AgreedDiscount> toConfirm;
    };
    // refusal holds why it cannot be booked; nullopt when the file cannot be read.
    std::optional<PaymentToStore> paymentToStore(const Booking& booking,
                                                 const std::optional<AsLoaded>& replacing,
                                                 const InvoiceOriginal* invoice,
                                                 const std::optional<Payment>& payment, QString* refusal);
    bool storeInvoice(qint64 bookingId, const Booking& booking, const InvoiceOriginal& invoice);

    Session& m_session;
};
