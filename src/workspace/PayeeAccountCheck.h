#pragma once

#include "BankAccount.h"
#include "Company.h"
#include "Invoice.h"

#include <QList>
#include <QString>

class Dialogs;
class Session;
class QWidget;

// Compares the accounts an e-invoice asks to be paid into (BT-84) with the bank accounts stored for its
// company: an account new or different there is the classic sign of invoice fraud, shown in red among the
// invoice's checks and asked about before the invoice is taken over.
class PayeeAccountCheck {
public:
    PayeeAccountCheck(Session& session, const Invoice& invoice, const Company& company);

    // The German reason the stored accounts could not be read; empty when they were.
    QString failure() const { return m_failure; }
    // Whether the invoice names an account that is not stored for the company.
    bool differs() const { return !m_unknown.isEmpty(); }
    // "Die Bankverbindung der Rechnung weicht von der gespeicherten ab: …"; empty when it does not.
    QString text() const;
    // Before booking, when it differs: asks whether to take the invoice over nonetheless, then whether to
    // store its valid new accounts for the company. False when the clerk stops or they cannot be stored
    // (said in German).
    bool confirm(Dialogs& dialogs, QWidget* parent, const QString& title) const;

private:
    Session& m_session;
    Company m_company;
    QList<BankAccount> m_stored;
    QList<InvoiceAccount> m_unknown;
    QString m_failure;
};
