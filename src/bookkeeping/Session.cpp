#include "Session.h"

#include "ChangeListener.h"
#include "ChangeWatch.h"
#include "Database.h"
#include "Journal.h"
#include "LoginRepository.h"

std::unique_ptr<Session> Session::open(const QString& location, QString* germanMessage) {
    std::unique_ptr<Database> db = Database::open(location, nullptr, germanMessage);
    if (!db)
        return nullptr;
    return std::make_unique<Session>(std::move(db));
}

Session::Session(std::unique_ptr<Database> db, QObject* parent)
    : QObject(parent), m_db(std::move(db)), m_listener(std::make_unique<ChangeListener>(*m_db)),
      m_rights(LoginRepository(*m_db).held()) {
    if (m_db->journalLookedAt())
        return;
    if (const std::optional<QString> warning = Journal(*m_db).beginAnewWhereRemoved())
        m_notices += *warning;
}

Session::~Session() = default;

QString Session::place() const {
    return m_db->place();
}

QString Session::location() const {
    return m_db->location();
}

bool Session::onServer() const {
    return m_db->onServer();
}

QStringList Session::notices() const {
    return m_db->notices() + m_notices;
}

ChangeWatch* Session::watch(QObject* window) {
    return new ChangeWatch(*this, window);
}
