#include "DueRepository.h"

#include "BookingRepository.h"
#include "Database.h"
#include "SignOff.h"
#include "StoredValue.h"

namespace {

constexpr int kBookingColumns = 13;

DueRepository::Open build(const DatabaseRow& row) {
    DueRepository::Open open{BookingRepository::built(row, 0), {}};
    Payment& payment = open.payment;
    payment.bookingId = open.booking.id;
    payment.projectId = row.text(kBookingColumns);
    payment.receivedOn = row.integer(kBookingColumns + 1);
    payment.daysToPay = row.integer(kBookingColumns + 2);
    payment.gross = row.amount(kBookingColumns + 3);
    // A percentage is stored like an amount (2,5 % as 2.5), so its hundredths read as cents.
    if (const std::optional<Money> percent = row.amount(kBookingColumns + 4))
        payment.discountPercent = int(percent->cents());
    payment.discountDays = row.integer(kBookingColumns + 5);
    payment.discount = row.amount(kBookingColumns + 6);
    return open;
}

} // namespace

QList<DueRepository::Open> DueRepository::open(const QString& projectId, std::optional<int> receivedUpTo,
                                               bool* ok) const {
    QString where = QStringLiteral("z.Eingang IS NOT NULL");
    QVariantList values;
    if (!projectId.trimmed().isEmpty()) {
        where += QStringLiteral(" AND z.ProjektID = ?");
        values += projectId.trimmed();
    }
    if (receivedUpTo) {
        where += QStringLiteral(" AND z.Eingang <= ?");
        values += *receivedUpTo;
    }
    values += stateWord(BookingState::Paid);
    return StoredValue::rows<Open>(
        m_db,
        QStringLiteral("SELECT %1, z.ProjektID, z.Eingang, z.Frist, z.Brutto, z.SkontoProzent, z.SkontoTage, "
                       "z.Skonto FROM tblZahlung z JOIN tblBuchung b ON b.ID = z.BuchungID LEFT JOIN "
                       "tblFreigabe f ON f.BuchungID = z.BuchungID WHERE %2 AND (f.Status IS NULL OR "
                       "f.Status <> ?) AND f.StornoZu IS NULL AND NOT EXISTS (SELECT 1 FROM tblFreigabe s "
                       "WHERE s.StornoZu = z.BuchungID) ORDER BY z.Eingang, z.BuchungID")
            .arg(BookingRepository::columns(QStringLiteral("b")), where),
        values, ok, build);
}
