#pragma once

#include "BankAccount.h"
#include "CompanyRecordPanel.h"

class BankAccountListModel;
class QLabel;
class QLineEdit;

// The bank accounts of the company chosen in the company register: a small list, the fields of the account
// selected in it (the IBAN checked as it is typed) and the buttons to add, change and remove an account.
class BankAccountPanel : public CompanyRecordPanel {
    Q_OBJECT
public:
    BankAccountPanel(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

private:
    void refill() override;
    void takeSelected();
    void showCheck();
    BankAccount fromFields() const;
    void add() override;
    void change() override;
    void remove() override;

    QList<BankAccount> m_accounts;
    BankAccountListModel* m_model = nullptr;
    QLineEdit* m_iban = nullptr;
    QLineEdit* m_bic = nullptr;
    QLineEdit* m_holder = nullptr;
    QLabel* m_check = nullptr;
};
