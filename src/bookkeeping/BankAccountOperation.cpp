#include "BankAccountOperation.h"

#include "BankAccountRepository.h"
#include "Database.h"
#include "Iban.h"
#include "Journal.h"
#include "MasterWrite.h"

#include <algorithm>
#include <QStringList>

namespace {

BankAccount stored(BankAccount account) {
    account.iban = Iban::normalised(account.iban);
    account.bic = Iban::normalised(account.bic);
    account.holder = account.holder.trimmed();
    return account;
}

// The German reason the account cannot be stored; empty when it can.
QString refusal(const BankAccount& account) {
    const QString iban = Iban::problem(account.iban);
    return iban.isEmpty() ? Iban::bicProblem(account.bic) : iban;
}

// The account's fields as one text, to tell whether it is still as loaded.
QString stampOf(const BankAccount& account) {
    return QStringList{QString::number(account.companyId), account.iban, account.bic, account.holder}.join(
        QChar(0x1f));
}

// The same of the account as stored now: null when it is gone, nullopt when it cannot be read.
std::optional<QString> stampNow(Database& db, qint64 id) {
    bool ok = true;
    const std::optional<BankAccount> now = BankAccountRepository(db).find(id, &ok);
    if (!ok)
        return std::nullopt;
    return now ? stampOf(*now) : QString();
}

// Refused when the company keeps this IBAN already in another account.
bool heldElsewhere(Database& db, const BankAccount& account, bool* ok) {
    const QList<BankAccount> accounts = BankAccountRepository(db).forCompany(account.companyId, ok);
    return std::any_of(accounts.cbegin(), accounts.cend(), [&](const BankAccount& other) {
        return other.id != account.id && other.iban == account.iban;
    });
}

Outcome refusedAsHeld(const BankAccount& account) {
    return Outcome::failed(
        Outcome::Kind::Refused,
        QStringLiteral("Die Firma hat die Bankverbindung %1 schon.").arg(Iban::grouped(account.iban)));
}

} // namespace

Outcome BankAccountOperation::add(const BankAccount& entered) {
    const BankAccount account = stored(entered);
    const QString refused = refusal(account);
    if (!refused.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refused);
    MasterWrite write(m_session);
    Database& db = write.database();
    bool ok = write.begin() && Journal(db).label(task());
    if (ok && heldElsewhere(db, account, &ok))
        return refusedAsHeld(account);
    std::optional<qint64> id;
    return write.finish(ok && (id = BankAccountRepository(db).add(account)), id);
}

Outcome BankAccountOperation::change(const BankAccount& before, const BankAccount& entered) {
    BankAccount account = stored(entered);
    account.id = before.id;
    const QString refused = refusal(account);
    if (!refused.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refused);
    MasterWrite write(m_session);
    Database& db = write.database();
    bool ok = write.begin() && Journal(db).label(task()) &&
              db.stillAsLoaded(stampNow(db, before.id), stampOf(stored(before)));
    if (ok && heldElsewhere(db, account, &ok))
        return refusedAsHeld(account);
    return write.finish(ok && BankAccountRepository(db).update(account), account.id);
}

Outcome BankAccountOperation::remove(qint64 id) {
    MasterWrite write(m_session);
    Database& db = write.database();
    return write.finish(write.begin() && Journal(db).label(task()) && BankAccountRepository(db).remove(id),
                        id);
}
