#include "PaymentReading.h"

#include "Database.h"
#include "PaymentRepository.h"
#include "Session.h"

Reading<std::optional<Payment>> PaymentReading::ofBooking(Session& session, qint64 bookingId) {
    Database& db = session.database();
    bool ok = true;
    std::optional<Payment> payment = PaymentRepository(db).find(bookingId, &ok);
    return {std::move(payment), ok, ok ? QString() : db.lastError()};
}

Reading<QList<Payment>> PaymentReading::ofProject(Session& session, const QString& projectId) {
    Database& db = session.database();
    bool ok = true;
    QList<Payment> payments = PaymentRepository(db).forProject(projectId, &ok);
    return {std::move(payments), ok, ok ? QString() : db.lastError()};
}
