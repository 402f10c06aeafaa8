#include "PaymentBenchmark.h"

#include "BookingOperation.h"
#include "Database.h"
#include "DataLocation.h"
#include "DayNumber.h"
#include "Measurement.h"
#include "PaymentChecks.h"
#include "Percent.h"
#include "RetentionProposal.h"
#include "Session.h"
#include "WithholdingProposal.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int kDiscountPercent = 200;
constexpr int kDiscountDays = 14;

BenchTable::Row failed(const QString& name, const QString& error) {
    BenchTable::Row row;
    row.name = name;
    row.limit = 1.2;
    row.error = error;
    return row;
}

} // namespace

QList<BenchTable::Row> PaymentBenchmark::bookingWithDeductions() {
    const QString name = QStringLiteral("D. booking with all deductions / plain booking");
    QString location = m_location;
    if (!DataLocation::isServer(location)) {
        location = QDir(m_workFolder).filePath(QStringLiteral("payment.mdb"));
        QFile::remove(location);
        if (!QFile::copy(m_location, location))
            return {failed(name, QStringLiteral("cannot copy the large file"))};
    }
    const std::unique_ptr<Session> session = Session::open(location);
    if (!session)
        return {failed(name, QStringLiteral("cannot open ") + location)};
    Database& db = session->database();
    // A company of the big project with an order (not the one with 20,000 bookings), whose order gets
    // terms with a cash retention and Skonto.
    QString company;
    qint64 companyId = 0;
    int order = 0;
    qint64 companyBookings = 0;
    db.read(QStringLiteral(
                "SELECT n.Firma, f.ID, n.NID, (SELECT COUNT(*) FROM tblBuchung b WHERE b.Firma = "
                "n.Firma) FROM tblNachtrag n JOIN tblFirma f ON f.Name = n.Firma WHERE n.ProjektID "
                "= ? AND substr(n.NachtragArt, 1, 7) = 'Auftrag' AND f.ID <> ? ORDER BY n.rowid LIMIT 1"),
            {m_facts.bigProjectId, m_facts.renameCompanyId}, [&](const Database::Row& row) {
                company = row.text(0);
                companyId = row.rowNumber(1);
                order = row.integer(2).value_or(0);
                companyBookings = row.rowNumber(3);
            });
    if (company.isEmpty() ||
        !db.exec(
            QStringLiteral("INSERT INTO tblZahlungsbedingung (ProjektID, FirmaID, NID, VOB, "
                           "ErfuellungProzent, ErfuellungForm, SkontoProzent, SkontoTage) VALUES (?, ?, ?, "
                           "1, 5, 'Einbehalt', 2, 14)"),
            {m_facts.bigProjectId, companyId, order}))
        return {failed(name, QStringLiteral("no company with an order to give terms: ") + db.lastError())};

    const int today = DayNumber::fromDate(QDate(2026, 3, 10));
    const auto entry = [&] {
        Booking booking;
        booking.projectId = m_facts.bigProjectId;
        booking.company = company;
        booking.paymentKind = QStringLiteral("1. Abschlagszahlung");
        booking.instructedOn = today;
        return booking;
    };
    const Money gross = Money::fromCents(1234557);
    QString failure;
    QString deducted;
    // proposed: the retention and the withholding as the proposals read them (as the entry tab does);
    // otherwise the same figures given, so that only the operation with its payment row is timed.
    const auto withDeductions = [&](bool proposed) {
        return Measurement::Side{
            nullptr, [&, proposed] {
                Outcome outcome = Outcome::done();
                const double ms = Measurement::timed([&] {
                    Booking booking = entry();
                    const Retention retention =
                        proposed ? RetentionProposal::propose(*session, booking.projectId, company,
                                                              booking.paymentKind, gross)
                                 : Retention{percentOf(gross, 1000), QStringLiteral("Vertragserfüllung"), {}};
                    const Withholding withholding =
                        proposed ? WithholdingProposal::propose(*session, company, today, gross)
                                 : Withholding{percentOf(gross, 1500), {}, {}};
                    Payment payment;
                    payment.receivedOn = today - 3;
                    payment.daysToPay = 21;
                    payment.invoiceAmount = payment.gross = gross;
                    payment.retention = retention.amount;
                    payment.retentionKind = retention.kind;
                    payment.withholding = withholding.amount;
                    payment.taxOffice = QStringLiteral("Finanzamt Mitte");
                    payment.discountPercent = kDiscountPercent;
                    payment.discountDays = kDiscountDays;
                    payment.discount = percentOf(gross, kDiscountPercent);
                    booking.amount = PaymentChecks::paidOut(payment);
                    deducted = QStringLiteral("retained %1, withheld %2, Skonto %3, paid %4")
                                   .arg(retention.amount.toGerman(), withholding.amount.toGerman(),
                                        payment.discount->toGerman(), booking.amount->toGerman());
                    outcome = BookingOperation(*session).book(booking, std::nullopt, false, nullptr, payment);
                    return outcome.ok();
                });
                if (ms < 0)
                    failure = outcome.text();
                return ms;
            }};
    };
    const auto plain = [&] {
        return Measurement::Side{nullptr, [&] {
                                     Outcome outcome = Outcome::done();
                                     const double ms = Measurement::timed([&] {
                                         Booking booking = entry();
                                         booking.amount = gross;
                                         outcome = BookingOperation(*session).book(booking);
                                         return outcome.ok();
                                     });
                                     if (ms < 0)
                                         failure = outcome.text();
                                     return ms;
                                 }};
    };
    const int bookingRuns = std::max(m_runs, Measurement::kLeastQuickRuns);
    const auto row = [&](const QString& title, bool proposed) {
        failure.clear();
        const Measurement::Outcome measured =
            Measurement::compare(bookingRuns, withDeductions(proposed), plain());
        BenchTable::Row result = failed(title, measured.error);
        if (!failure.isEmpty())
            result.error += QStringLiteral(" (") + failure + u')';
        result.oursMs = measured.oursMs;
        result.baselineMs = measured.baselineMs;
        return result;
    };
    QList<BenchTable::Row> rows{row(name, true),
                                row(QStringLiteral("D. the same, retention and withholding given"), false)};
    // The entry tab reads the proposals while the clerk types the company, kind, day and amount; "Buchen"
    // books what the panel shows, which the second line measures against its limit.
    rows.first().reportOnly = true;
    // Where the time goes: each reading once more.
    const double retentionMs = Measurement::timed([&] {
        return RetentionProposal::propose(*session, m_facts.bigProjectId, company, entry().paymentKind, gross)
                   .reason.size() >= 0;
    });
    const double withholdingMs = Measurement::timed(
        [&] { return WithholdingProposal::propose(*session, company, today, gross).reason.size() >= 0; });
    qint64 payments = 0;
    db.read(QStringLiteral("SELECT COUNT(*) FROM tblZahlung"), {},
            [&](const Database::Row& each) { payments = each.rowNumber(0); });
    rows.first().note =
        QStringLiteral(
            "D: company \"%1\" (%2 bookings), last booking %3; %4 payment rows for %5 bookings with "
            "deductions; once more alone: the retention proposal %6 ms, the withholding proposal %7 ms")
            .arg(company)
            .arg(companyBookings)
            .arg(deducted)
            .arg(payments)
            .arg(2 * (bookingRuns + 1))
            .arg(retentionMs, 0, 'f', 2)
            .arg(withholdingMs, 0, 'f', 2);
    return rows;
}
