#pragma once

#include "EstimateRow.h"
#include "Money.h"
#include "OrderTerms.h"
#include "RetentionRepository.h"

#include <QList>
#include <QString>
#include <QtGlobal>

class Session;

// What to retain from a payment as security (§17 Abs. 6 Nr. 1 VOB/B): the amount, the kind of security it
// builds up ("Vertragserfüllung" or "Mängelansprüche"; empty with nothing to retain) and, in German, how it
// was computed.
struct Retention {
    Money amount;
    QString kind;
    QString reason;
};

// Proposes the cash retention of a payment from the terms of the company's main order, and refuses one
// that the rule does not allow.
class RetentionProposal {
public:
    // Where the company's payments in the project stand before the payment.
    struct Standing {
        // The main order's amount and its supplements'.
        Money orderSum;
        // Retained in cash for each kind so far, releases taken off.
        Money retainedPerformance;
        Money retainedDefects;
        // The gross amounts of the payments so far.
        Money grossSoFar;
    };

    // For an instalment: 10 % of gross until the agreed security for performance is retained; for the
    // final payment: the agreed security for defects of the final sum less what is retained for it
    // already. excludeBookingId: the booking being replaced, left out of what is retained already.
    static Retention propose(Session& session, const QString& projectId, const QString& company,
                             const QString& paymentKind, Money gross, qint64 excludeBookingId = 0);
    // The same from what was read.
    static Retention compute(const OrderTerms& terms, const Standing& standing, const QString& paymentKind,
                             Money gross);
    // The German reason why retaining retention from a payment of gross is refused (more than 10 % of an
    // instalment); empty when it is allowed.
    static QString refusal(const QString& paymentKind, Money gross, Money retention);

    // The company's estimate rows added up: the main order (the "Auftrag" of the highest running number)
    // and its supplements.
    static Money orderSum(const QList<EstimateRow>& companyRows);
    static Standing standing(Money orderSum, const QList<RetentionRepository::Paid>& payments,
                             qint64 excludeBookingId = 0);
    static bool isFinalPayment(const QString& paymentKind);
    static bool isRelease(const QString& paymentKind);
    static bool isMainOrder(const QString& orderKind);

    // The most an instalment may have retained, in hundredths of a percent.
    static constexpr int kInstalmentCap = 1000;
};
