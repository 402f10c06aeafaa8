#pragma once

#include "Exemption.h"
#include "Money.h"

#include <QList>
#include <QString>
#include <QtGlobal>

class Session;

// What is to be withheld from a payment for the tax office (§48 EStG): nothing where the company holds an
// exemption certificate valid on the payment day (§48b) or its payments of the calendar year stay within
// 5.000,00 € (§48 Abs. 2 Nr. 1); otherwise 15 % of the gross amount.
struct Withholding {
    Money amount;
    // The tax office of the company's latest certificate; empty where it has none (the clerk types it).
    QString taxOffice;
    // Why, in German, for the clerk: the certificate, the year's sum, or why it could not be told.
    QString reason;
};

class WithholdingProposal {
public:
    // The withholding for paying gross to company (by its name, ignoring case) on paymentDay; the year's
    // payments leave out the booking excludeBookingId (the one being replaced). Where the store cannot be
    // read nothing is proposed and the reason says so.
    static Withholding propose(Session& session, const QString& company, int paymentDay, Money gross,
                               qint64 excludeBookingId = 0);
    // The rule alone: the company's certificates, latest first, and the gross amounts it was paid in the
    // calendar year of paymentDay before this payment.
    static Withholding decide(const QList<Exemption>& exemptions, int paymentDay, Money paidInYear,
                              Money gross);
    // 5.000,00 €: payments of a calendar year up to it stay free (§48 Abs. 2 Nr. 1 EStG).
    static constexpr Money kFreeLimit = Money::fromCents(500000);
    // 15 % in hundredths of a percent (§48 Abs. 1 EStG).
    static constexpr int kRate = 1500;
};
