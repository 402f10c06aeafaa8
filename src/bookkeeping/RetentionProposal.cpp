#include "RetentionProposal.h"

#include "Database.h"
#include "EstimateRepository.h"
#include "OrderTermsReading.h"
#include "Percent.h"
#include "Session.h"

#include <algorithm>

namespace {

const QString kPerformance = QStringLiteral("Vertragserfüllung");
const QString kDefects = QStringLiteral("Mängelansprüche");
const QString kCash = QStringLiteral("Einbehalt");

QString euros(Money amount) {
    return amount.toGerman() + QStringLiteral(" €");
}

Retention forInstalment(const OrderTerms& terms, const RetentionProposal::Standing& standing, Money gross) {
    if (terms.performanceForm != kCash || !terms.performancePercent || gross.cents() <= 0)
        return {};
    const Money agreed = percentOf(standing.orderSum, *terms.performancePercent);
    const QString security =
        QStringLiteral("die vereinbarte Sicherheit von %1 (%2 % der Auftragssumme von %3)")
            .arg(euros(agreed), percentText(*terms.performancePercent), euros(standing.orderSum));
    const Money open = std::max(Money(), agreed - standing.retainedPerformance);
    const Money cap = percentOf(gross, RetentionProposal::kInstalmentCap);
    if (open.cents() == 0)
        return {Money(), kPerformance,
                QStringLiteral("Nichts einzubehalten: %1 ist mit %2 schon einbehalten.")
                    .arg(security, euros(standing.retainedPerformance))};
    if (cap <= open)
        return {cap, kPerformance,
                QStringLiteral("10 % von %1 = %2, bis %3 erreicht ist (einbehalten bisher %4).")
                    .arg(euros(gross), euros(cap), security, euros(standing.retainedPerformance))};
    return {
        open, kPerformance,
        QStringLiteral("Der Rest bis %1: %2 − bisher einbehalten %3 = %4 (weniger als 10 % von %5).")
            .arg(security, euros(agreed), euros(standing.retainedPerformance), euros(open), euros(gross))};
}

Retention forFinalPayment(const OrderTerms& terms, const RetentionProposal::Standing& standing, Money gross) {
    if (terms.defectsForm != kCash || !terms.defectsPercent)
        return {};
    const Money finalSum = standing.grossSoFar + gross;
    const Money agreed = percentOf(finalSum, *terms.defectsPercent);
    const Money open = std::max(Money(), agreed - standing.retainedDefects);
    const Money amount = std::min(open, std::max(Money(), gross));
    return {amount, kDefects,
            QStringLiteral("Sicherheit für Mängelansprüche: %1 % der Abrechnungssumme von %2 = %3, abzüglich "
                           "bisher einbehalten %4 = %5.")
                .arg(percentText(*terms.defectsPercent), euros(finalSum), euros(agreed),
                     euros(standing.retainedDefects), euros(amount))};
}

} // namespace

bool RetentionProposal::isFinalPayment(const QString& paymentKind) {
    return paymentKind == QStringLiteral("Schlußzahlung");
}

bool RetentionProposal::isRelease(const QString& paymentKind) {
    return paymentKind == QStringLiteral("Rückhalt");
}

bool RetentionProposal::isMainOrder(const QString& orderKind) {
    return orderKind.startsWith(QStringLiteral("Auftrag"));
}

Money RetentionProposal::orderSum(const QList<EstimateRow>& companyRows) {
    const EstimateRow* main = nullptr;
    Money supplements;
    for (const EstimateRow& row : companyRows) {
        if (isMainOrder(row.orderKind)) {
            if (!main || row.runningNumber.value_or(0) >= main->runningNumber.value_or(0))
                main = &row;
        } else if (!row.orderKind.isEmpty()) {
            supplements += row.orderCost.value_or(Money());
        }
    }
    return supplements + (main ? main->orderCost.value_or(Money()) : Money());
}

RetentionProposal::Standing RetentionProposal::standing(Money orderSum,
                                                        const QList<RetentionRepository::Paid>& payments,
                                                        qint64 excludeBookingId) {
    Standing standing;
    standing.orderSum = orderSum;
    for (const RetentionRepository::Paid& paid : payments) {
        if (paid.bookingId == excludeBookingId)
            continue;
        standing.grossSoFar += paid.gross;
        if (paid.retentionKind == kPerformance)
            standing.retainedPerformance += paid.retention;
        else if (paid.retentionKind == kDefects)
            standing.retainedDefects += paid.retention;
    }
    return standing;
}

Retention RetentionProposal::compute(const OrderTerms& terms, const Standing& standing,
                                     const QString& paymentKind, Money gross) {
    if (isRelease(paymentKind))
        return {};
    return isFinalPayment(paymentKind) ? forFinalPayment(terms, standing, gross)
                                       : forInstalment(terms, standing, gross);
}

Retention RetentionProposal::propose(Session& session, const QString& projectId, const QString& company,
                                     const QString& paymentKind, Money gross, qint64 excludeBookingId) {
    bool ok = true;
    Database& db = session.database();
    const QList<EstimateRow> rows =
        EstimateRepository(db).forProjectAndCompany(projectId.trimmed(), company, &ok);
    const std::optional<OrderTerms> terms =
        ok ? OrderTermsReading::forCompany(session, projectId, company, rows, &ok) : std::nullopt;
    if (!terms || isRelease(paymentKind))
        return {Money(), QString(),
                ok ? QString()
                   : QStringLiteral("Die Zahlungsbedingungen sind nicht lesbar: ") +
                         session.database().lastError()};
    const QList<RetentionRepository::Paid> payments =
        ok ? RetentionRepository(db).ofCompany(projectId, company, &ok) : QList<RetentionRepository::Paid>();
    if (!ok)
        return {Money(), QString(),
                QStringLiteral("Die bisherigen Zahlungen sind nicht lesbar: ") + db.lastError()};
    return compute(*terms, standing(orderSum(rows), payments, excludeBookingId), paymentKind, gross);
}

QString RetentionProposal::refusal(const QString& paymentKind, Money gross, Money retention) {
    if (isRelease(paymentKind) || isFinalPayment(paymentKind))
        return {};
    const Money cap = percentOf(std::max(Money(), gross), kInstalmentCap);
    if (retention <= cap)
        return {};
    return QStringLiteral("Von einer Abschlagszahlung dürfen höchstens 10 % einbehalten werden (§17 Abs. 6 "
                          "Nr. 1 VOB/B): von %1 höchstens %2, nicht %3.")
        .arg(euros(gross), euros(cap), euros(retention));
}
