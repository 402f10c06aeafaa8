#include "LoginRepository.h"

#include "Database.h"
#include "PostgresRoles.h"

QList<Right> LoginRepository::allRights() {
    return {Right::Read, Right::Record, Right::Confirm, Right::Order, Right::Administer};
}

namespace {

QSet<Right> rightsOf(const QStringList& words) {
    QSet<Right> rights;
    for (Right right : LoginRepository::allRights()) {
        if (words.contains(rightWord(right)))
            rights.insert(right);
    }
    return rights;
}

} // namespace

QSet<Right> LoginRepository::held(bool* ok) const {
    if (ok)
        *ok = true;
    if (!m_db.onServer()) {
        const QList<Right> all = allRights();
        return QSet<Right>(all.cbegin(), all.cend());
    }
    QStringList words;
    const bool read = m_db.read(PostgresRoles::heldRightsQuery(), {},
                                [&](const DatabaseRow& row) { words += row.text(0); });
    if (ok)
        *ok = read;
    return read ? rightsOf(words) : QSet<Right>();
}

QList<LoginRepository::Login> LoginRepository::logins(bool* ok) const {
    QList<Login> logins;
    const bool read =
        !m_db.onServer() || m_db.read(PostgresRoles::loginsQuery(), {}, [&](const DatabaseRow& row) {
            logins +=
                Login{row.text(0), rightsOf(row.text(2).split(u',')), row.text(1) == QLatin1String("t")};
        });
    if (ok)
        *ok = read;
    return logins;
}

bool LoginRepository::mayCreateLogins() const {
    bool may = false;
    if (m_db.onServer())
        m_db.read(PostgresRoles::mayCreateRolesQuery(), {},
                  [&](const DatabaseRow& row) { may = row.text(0) == QLatin1String("t"); });
    return may;
}

bool LoginRepository::exists(const QString& name, bool* ok) const {
    bool found = false;
    const bool read =
        m_db.read(PostgresRoles::roleExistsQuery(), {name}, [&](const DatabaseRow&) { found = true; });
    if (ok)
        *ok = read;
    return found;
}

QString LoginRepository::ownName() const {
    QString name;
    m_db.read(QStringLiteral("SELECT session_user"), {}, [&](const DatabaseRow& row) { name = row.text(0); });
    return name;
}

bool LoginRepository::holds(const QString& name, Right right, bool* ok) const {
    bool holds = false;
    const bool read = m_db.read(PostgresRoles::holdsQuery(), {rightWord(right), name},
                                [&](const DatabaseRow& row) { holds = row.text(0) == QLatin1String("t"); });
    if (ok)
        *ok = read;
    return holds;
}

bool LoginRepository::add(const QString& name, const QString& password, bool* hashed) {
    const std::optional<QString> verifier = PostgresRoles::verifier(m_db.connection(), name, password);
    *hashed = verifier.has_value();
    return verifier && m_db.exec(PostgresRoles::addLoginStatement(name, *verifier));
}

bool LoginRepository::grant(const QString& name, Right right) {
    return m_db.exec(PostgresRoles::grantStatement(databaseName(), rightWord(right), name));
}

bool LoginRepository::takeBack(const QString& name, Right right) {
    return m_db.exec(PostgresRoles::takeBackStatement(databaseName(), rightWord(right), name));
}

bool LoginRepository::lock(const QString& name, bool locked) {
    return m_db.exec(PostgresRoles::lockStatement(name, locked));
}

QString LoginRepository::databaseName() const {
    QString name;
    m_db.read(QStringLiteral("SELECT current_database()"), {},
              [&](const DatabaseRow& row) { name = row.text(0); });
    return name;
}
