#include "PayeeAccountCheck.h"

#include "BankAccountOperation.h"
#include "BankAccountReading.h"
#include "Dialogs.h"
#include "Iban.h"

#include <algorithm>
#include <QStringList>

PayeeAccountCheck::PayeeAccountCheck(Session& session, const Invoice& invoice, const Company& company)
    : m_session(session), m_company(company) {
    m_stored = BankAccountReading::forCompany(session, company.id, &m_failure);
    if (!m_failure.isEmpty())
        return;
    QStringList seen;
    for (const InvoiceAccount& account : invoice.accounts) {
        const QString iban = Iban::normalised(account.iban);
        const bool stored = std::any_of(m_stored.cbegin(), m_stored.cend(),
                                        [&](const BankAccount& known) { return known.iban == iban; });
        if (!iban.isEmpty() && !stored && !seen.contains(iban)) {
            seen.append(iban);
            m_unknown.append(account);
        }
    }
}

QString PayeeAccountCheck::text() const {
    if (!differs())
        return QString();
    QStringList named;
    for (const InvoiceAccount& account : m_unknown) {
        const QString problem = Iban::problem(account.iban);
        named.append(QStringLiteral("IBAN ") + Iban::grouped(account.iban) +
                     (problem.isEmpty() ? QString() : QStringLiteral(" (ungültig: %1)").arg(problem)));
    }
    QStringList stored;
    for (const BankAccount& account : m_stored)
        stored.append(Iban::grouped(account.iban));
    return QStringLiteral("Die Bankverbindung der Rechnung weicht von der gespeicherten ab: %1; %2")
        .arg(named.join(QStringLiteral(", ")),
             stored.isEmpty()
                 ? QStringLiteral("für die Firma „%1“ ist keine gespeichert.").arg(m_company.name)
                 : QStringLiteral("für die Firma „%1“ gespeichert: %2.")
                       .arg(m_company.name, stored.join(QStringLiteral(", "))));
}

bool PayeeAccountCheck::confirm(Dialogs& dialogs, QWidget* parent, const QString& title) const {
    if (!differs())
        return true;
    if (dialogs.ask(parent, title,
                    text() +
                        QStringLiteral("\n\nEine geänderte Bankverbindung ist das klassische Zeichen eines "
                                       "Rechnungsbetrugs. Klären Sie sie mit der Firma über eine Ihnen "
                                       "bekannte Telefonnummer, bevor gezahlt wird.\n\nDie Rechnung "
                                       "trotzdem übernehmen?"),
                    Dialogs::Icon::Warning, Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return false;
    QList<BankAccount> valid;
    QStringList named;
    for (const InvoiceAccount& account : m_unknown) {
        if (Iban::valid(account.iban)) {
            const QString bic = Iban::bicProblem(account.bic).isEmpty() ? account.bic : QString();
            valid.append({0, m_company.id, account.iban, bic, account.name});
            named.append(Iban::grouped(account.iban));
        }
    }
    if (valid.isEmpty() ||
        dialogs.ask(parent, title,
                    QStringLiteral("Die Bankverbindung der Rechnung (IBAN %1) für die Firma „%2“ speichern?")
                        .arg(named.join(QStringLiteral(", ")), m_company.name),
                    Dialogs::Icon::Question, Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return true;
    for (const BankAccount& account : std::as_const(valid)) {
        const Outcome stored = BankAccountOperation(m_session).add(account);
        if (!stored.ok()) {
            dialogs.inform(parent, title,
                           QStringLiteral("Die Bankverbindung konnte nicht gespeichert werden.\n") +
                               stored.text(),
                           Dialogs::Icon::Warning);
            return false;
        }
    }
    return true;
}
