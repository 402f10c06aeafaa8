#pragma once

#include "BankAccount.h"

#include <optional>
#include <QGroupBox>

class BankAccountListModel;
class Dialogs;
class Outcome;
class ReportListView;
class Session;
class QLabel;
class QLineEdit;
class QPushButton;

// The bank accounts of the company chosen in the company register: a small list, the fields of the account
// selected in it (the IBAN checked as it is typed) and the buttons to add, change and remove an account.
class BankAccountPanel : public QGroupBox {
    Q_OBJECT
public:
    BankAccountPanel(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the accounts of company companyId; none: no company chosen, nothing to edit.
    void showCompany(std::optional<qint64> companyId);

private:
    void refill();
    void takeSelected();
    void showCheck();
    BankAccount fromFields() const;
    void add();
    void change();
    void remove();
    // Refills after a write that worked; otherwise says why and keeps the entry.
    void finish(const Outcome& outcome);

    Session& m_session;
    Dialogs& m_dialogs;
    std::optional<qint64> m_company;
    QList<BankAccount> m_accounts;
    BankAccountListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QLineEdit* m_iban = nullptr;
    QLineEdit* m_bic = nullptr;
    QLineEdit* m_holder = nullptr;
    QLabel* m_check = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_remove = nullptr;
};
