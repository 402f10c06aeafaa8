#pragma once

#include "LoginRepository.h"
#include "Outcome.h"
#include "Reading.h"
#include "Right.h"

#include <functional>
#include <QJsonObject>
#include <QList>
#include <QString>

class Database;
class Session;

// The logins of the server's database and their rights, as a login with "verwalten" keeps them: adds a
// login, grants and takes back rights, locks and unlocks. Passwords are never stored nor logged: only
// their verifier reaches the server.
class LoginAdministration {
public:
    using Login = LoginRepository::Login;
    static constexpr int kShortestPassword = 8;

    explicit LoginAdministration(Session& session) : m_session(session) {}

    // Why "Benutzer und Rechte" is not offered for the data of db, in German; empty when it is.
    static QString notOffered(Database& db);

    Reading<QList<Login>> logins() const;
    // Why this login may not administer logins at all, in German; empty when it may.
    QString obstacle() const;
    // Adds a login holding "lesen"; password and repeated must agree.
    Outcome add(const QString& name, const QString& password, const QString& repeated);
    Outcome setRight(const QString& name, Right right, bool held);
    Outcome setLocked(const QString& name, bool locked);

private:
    // What a change does to a login, for the journal.
    struct Entry {
        QString login;
        QString action;
        QJsonObject before;
        QJsonObject after;
    };
    // Runs write in one transaction, after the checks every change of a login needs, and journals it.
    Outcome change(const Entry& entry, const std::function<bool(LoginRepository&)>& write,
                   const std::function<QString(LoginRepository&)>& refusalBeforeCommit = {});

    Session& m_session;
};
