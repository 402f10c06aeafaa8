#include "MasterWrite.h"

#include "Database.h"
#include "Session.h"

MasterWrite::MasterWrite(Session& session) : m_session(session), m_transaction(session.database()) {}

Database& MasterWrite::database() {
    return m_session.database();
}

bool MasterWrite::begin(const std::function<std::optional<QString>()>& stampNow, const AsLoaded& loaded) {
    return m_transaction.isActive() &&
           (loaded.m_stamp.isNull() || database().stillAsLoaded(stampNow(), loaded.m_stamp));
}

Outcome MasterWrite::finish(bool written, std::optional<qint64> identity) {
    if (!written || !m_transaction.commit())
        return Outcome::ofStore(database());
    m_session.wrote();
    return Outcome::done(identity);
}
