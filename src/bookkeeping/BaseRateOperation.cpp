#include "BaseRateOperation.h"

#include "Database.h"
#include "Journal.h"
#include "Session.h"
#include "SignOffRepository.h"
#include "Transaction.h"

Outcome BaseRateOperation::save(const BaseRate& rate) {
    Database& db = m_session.database();
    SignOffRepository settings(db);
    const bool saved = db.retryOnceWhenBusy([&] {
        Transaction transaction(db);
        return transaction.isActive() && Journal(db).label(QStringLiteral("Basiszinssatz")) &&
               settings.setSetting(PaymentRules::baseRateSetting(), QString::number(rate.hundredths)) &&
               settings.setSetting(PaymentRules::baseRateSinceSetting(),
                                   rate.since ? QString::number(*rate.since) : QString()) &&
               transaction.commit();
    });
    if (!saved)
        return Outcome::ofStore(db);
    m_session.wrote();
    return Outcome::done();
}
