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

BenchTable::Row PaymentBenchmark::bookingWithDeductions() {
    const QString name = QStringLiteral("D. booking with all deductions / plain booking");
    QString location = m_location;
    if (!DataLocation::isServer(location)) {
        location = QDir(m_workFolder).filePath(QStringLiteral("payment.mdb"));
        QFile::remove(location);
        if (!QFile::copy(m_location, location))
            return failed(name, QStringLiteral("cannot copy the large file"));
    }
    const std::unique_ptr<Session> session = Session::open(location);
    if (!session)
        return failed(name, QStringLiteral("cannot open ") + location);
    Database& db = session->database();
    // A company of the big project with an order (not the one with 20,000 bookings), whose order gets
    // terms with a cash retention and Skonto.
    QString company;
    qint64 companyId = 0;
    int order = 0;
    qint64 companyBookings = 0;
    db.read(
        QStringLiteral("SELECT n.Firma, f.ID, n.NID, (SELECT COUNT(*) FROM tblBuchung b WHERE b.Firma = "
                       "n.Firma) FROM tblNachtrag n JOIN tblFirma f ON f.Name = n.Firma WHERE n.ProjektID "
                       "= ? AND n.NachtragArt LIKE 'Auftrag%' AND f.ID <> ? ORDER BY n.rowid LIMIT 1"),
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
        return failed(name, QStringLiteral("no company with an order to give terms: ") + db.lastError());

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
    const auto withDeductions = [&] {
        return Measurement::Side{
            nullptr, [&] {
                Outcome outcome = Outcome::done();
                const double ms = Measurement::timed([&] {
                    Booking booking = entry();
                    const Retention retention = RetentionProposal::propose(
                        *session, booking.projectId, company, booking.paymentKind, gross);
                    const Withholding withholding =
                        WithholdingProposal::propose(*session, company, today, gross);
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
    const Measurement::Outcome measured = Measurement::compare(m_runs, withDeductions(), plain());
    BenchTable::Row row = failed(name, measured.error);
    if (!failure.isEmpty())
        row.error += QStringLiteral(" (") + failure + u')';
    row.oursMs = measured.oursMs;
    row.baselineMs = measured.baselineMs;
    qint64 payments = 0;
    db.read(QStringLiteral("SELECT COUNT(*) FROM tblZahlung"), {},
            [&](const Database::Row& each) { payments = each.rowNumber(0); });
    row.note =
        QStringLiteral("D: company \"%1\" (%2 bookings), last booking %3; %4 payment rows for %5 bookings "
                       "with deductions")
            .arg(company)
            .arg(companyBookings)
            .arg(deducted)
            .arg(payments)
            .arg(m_runs + 1);
    return row;
}
