#include "LoginAdministration.h"

#include "Database.h"
#include "Journal.h"
#include "MasterWrite.h"
#include "Session.h"

namespace {

// The longest name the server keeps.
constexpr int kLongestName = 63;

QString word(Right right) {
    return QStringLiteral("„%1“").arg(rightWord(right));
}

} // namespace

Reading<QList<LoginAdministration::Login>> LoginAdministration::logins() const {
    bool ok = false;
    QList<Login> logins = LoginRepository(m_session.database()).logins(&ok);
    return {logins, ok, ok ? QString() : m_session.database().lastError()};
}

QString LoginAdministration::notOffered(Database& db) {
    if (!db.onServer())
        return QStringLiteral("Eine Datenbankdatei kennt keine Anmeldungen und keine Rechte.");
    if (!LoginRepository(db).held().contains(Right::Administer))
        return QStringLiteral("Dazu fehlt Ihnen das Recht %1.").arg(word(Right::Administer));
    return {};
}

QString LoginAdministration::obstacle() const {
    if (!m_session.onServer())
        return QStringLiteral("Eine Datenbankdatei kennt keine Anmeldungen und keine Rechte.");
    if (!m_session.may(Right::Administer))
        return QStringLiteral("Dazu fehlt Ihnen das Recht %1.").arg(word(Right::Administer));
    if (!LoginRepository(m_session.database()).mayCreateLogins())
        return QStringLiteral(
            "Ihre Anmeldung darf keine Anmeldungen anlegen oder ändern: Dazu braucht sie auf "
            "dem Datenbankserver das Recht CREATEROLE, das die Verwaltung des "
            "Datenbankservers vergibt.");
    return {};
}

Outcome LoginAdministration::change(const Entry& entry, const std::function<bool(LoginRepository&)>& write,
                                    const std::function<QString(LoginRepository&)>& refusalBeforeCommit) {
    if (const QString refusal = obstacle(); !refusal.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refusal);
    MasterWrite transaction(m_session);
    LoginRepository logins(transaction.database());
    // The logins belong to the server, not to the data; who may do what with the data is journaled all
    // the same, in the transaction of the change.
    Journal journal(transaction.database());
    if (!transaction.begin() || !journal.label(QStringLiteral("Benutzer und Rechte")) || !write(logins) ||
        !journal.append(QStringLiteral("Anmeldungen"), entry.login, QString(), entry.action, 1, entry.before,
                        entry.after))
        return transaction.finish(false);
    if (refusalBeforeCommit) {
        if (const QString refusal = refusalBeforeCommit(logins); !refusal.isEmpty())
            return Outcome::failed(Outcome::Kind::Refused, refusal);
    }
    return transaction.finish(true);
}

Outcome LoginAdministration::add(const QString& name, const QString& password, const QString& repeated) {
    const auto refused = [](const QString& text) { return Outcome::failed(Outcome::Kind::Refused, text); };
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return refused(QStringLiteral("Bitte geben Sie den Namen der neuen Anmeldung ein."));
    if (trimmed.toUtf8().size() > kLongestName)
        return refused(QStringLiteral("Der Name einer Anmeldung darf höchstens %1 Zeichen lang sein.")
                           .arg(kLongestName));
    if (password != repeated)
        return refused(QStringLiteral("Die beiden Passwörter stimmen nicht überein."));
    if (password.size() < kShortestPassword)
        return refused(
            QStringLiteral("Das Passwort muss mindestens %1 Zeichen lang sein.").arg(kShortestPassword));
    if (const QString refusal = obstacle(); !refusal.isEmpty())
        return refused(refusal);
    bool ok = false;
    if (LoginRepository(m_session.database()).exists(trimmed, &ok) || !ok)
        return ok ? refused(QStringLiteral("Den Namen „%1“ trägt schon eine Anmeldung oder Rolle auf dem "
                                           "Datenbankserver; bitte wählen Sie einen anderen.")
                                .arg(trimmed))
                  : Outcome::ofStore(m_session.database());
    bool hashed = true;
    const Outcome outcome =
        change({trimmed,
                QStringLiteral("Neu"),
                {},
                {{QStringLiteral("Anmeldung"), trimmed}, {rightWord(Right::Read), true}}},
               [&](LoginRepository& logins) {
                   return logins.add(trimmed, password, &hashed) && logins.grant(trimmed, Right::Read);
               });
    if (!hashed)
        return refused(
            QStringLiteral("Das Passwort konnte an diesem Arbeitsplatz nicht verschlüsselt werden; "
                           "die Anmeldung wurde nicht angelegt."));
    return outcome;
}

Outcome LoginAdministration::setRight(const QString& name, Right right, bool held) {
    return change(
        {name, QStringLiteral("Geändert"), {{rightWord(right), !held}}, {{rightWord(right), held}}},
        [&](LoginRepository& logins) {
            return held ? logins.grant(name, right) : logins.takeBack(name, right);
        },
        [&](LoginRepository& logins) {
            if (held || !logins.holds(name, right))
                return QString();
            return QStringLiteral(
                       "„%1“ hat das Recht %2 weiter über eine andere Rolle (ein anderes Recht, das es "
                       "einschließt, oder die Mitgliedschaft in der Rolle, der die Datenbank gehört). "
                       "Nehmen Sie zuerst jenes zurück; die Mitgliedschaft ändert nur die Verwaltung "
                       "des Datenbankservers.")
                .arg(name, word(right));
        });
}

Outcome LoginAdministration::setLocked(const QString& name, bool locked) {
    if (locked && name == LoginRepository(m_session.database()).ownName())
        return Outcome::failed(Outcome::Kind::Refused,
                               QStringLiteral("Ihre eigene Anmeldung können Sie nicht sperren."));
    const QString key = QStringLiteral("gesperrt");
    return change({name, QStringLiteral("Geändert"), {{key, !locked}}, {{key, locked}}},
                  [&](LoginRepository& logins) { return logins.lock(name, locked); });
}
