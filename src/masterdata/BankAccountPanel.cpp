#include "BankAccountPanel.h"

#include "BankAccountListModel.h"
#include "BankAccountOperation.h"
#include "BankAccountReading.h"
#include "Dialogs.h"
#include "Iban.h"
#include "ReportListView.h"

#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

BankAccountPanel::BankAccountPanel(Session& session, Dialogs& dialogs, QWidget* parent)
    : CompanyRecordPanel(session, dialogs, QStringLiteral("Bankverbindungen"),
                         QStringLiteral("Bankverbindung"), QStringLiteral("lvwBankverbindungen"),
                         {QStringLiteral("cmdKontoHinzufuegen"), QStringLiteral("Konto hinzufügen")},
                         {QStringLiteral("cmdKontoAendern"), QStringLiteral("Konto ändern")},
                         {QStringLiteral("cmdKontoEntfernen"), QStringLiteral("Konto entfernen")}, parent) {
    setObjectName(QStringLiteral("fraBankverbindungen"));
    m_model = new BankAccountListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({2700, 1750, 2200});

    m_iban = field(QStringLiteral("txtIBAN"));
    m_bic = field(QStringLiteral("txtBIC"));
    m_holder = field(QStringLiteral("txtKontoinhaber"));
    m_check = new QLabel(this);
    m_check->setObjectName(QStringLiteral("lblIBANPruefung"));
    m_check->setWordWrap(true);
    m_check->setStyleSheet(QStringLiteral("color: #c00000"));

    auto* fields = new QGridLayout;
    int row = 0;
    for (const auto& [caption, edit] : {std::pair{QStringLiteral("IBAN"), m_iban},
                                        {QStringLiteral("BIC"), m_bic},
                                        {QStringLiteral("Kontoinhaber"), m_holder}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        edit->setAccessibleName(caption);
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row++, 1);
    }
    fields->addWidget(m_check, row, 0, 1, 2);
    arrange(fields, 3);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BankAccountPanel::takeSelected);
    connect(m_iban, &QLineEdit::textChanged, this, &BankAccountPanel::showCheck);
    connect(m_bic, &QLineEdit::textChanged, this, &BankAccountPanel::showCheck);
    showCompany(std::nullopt);
}

void BankAccountPanel::refill() {
    QString failure;
    m_accounts =
        m_company ? BankAccountReading::forCompany(m_session, *m_company, &failure) : QList<BankAccount>();
    m_model->setAccounts(m_accounts);
    m_change->setEnabled(false);
    m_remove->setEnabled(false);
    if (!failure.isEmpty())
        warn(failure);
}

void BankAccountPanel::takeSelected() {
    const std::optional<int> row = selected(m_accounts.size());
    m_change->setEnabled(row.has_value());
    m_remove->setEnabled(row.has_value());
    if (!row)
        return;
    const BankAccount& account = m_accounts.at(*row);
    m_iban->setText(Iban::grouped(account.iban));
    m_bic->setText(account.bic);
    m_holder->setText(account.holder);
}

// The reason an entry would be refused, shown while it is typed; nothing for a field not yet begun.
void BankAccountPanel::showCheck() {
    const QString iban = Iban::normalised(m_iban->text());
    const QString problem = iban.size() < 2 ? QString() : Iban::problem(iban);
    m_check->setText(problem.isEmpty() ? Iban::bicProblem(m_bic->text()) : problem);
    m_iban->setAccessibleDescription(problem);
}

BankAccount BankAccountPanel::fromFields() const {
    return {0, m_company.value_or(0), m_iban->text(), m_bic->text(), m_holder->text()};
}

void BankAccountPanel::add() {
    if (m_company)
        finish(BankAccountOperation(m_session).add(fromFields()));
}

void BankAccountPanel::change() {
    if (const std::optional<int> row = selected(m_accounts.size()))
        finish(BankAccountOperation(m_session).change(m_accounts.at(*row), fromFields()));
}

void BankAccountPanel::remove() {
    const std::optional<int> row = selected(m_accounts.size());
    if (!row)
        return;
    const BankAccount& account = m_accounts.at(*row);
    if (m_dialogs.ask(
            this, QStringLiteral("Bankverbindung entfernen"),
            QStringLiteral("Die Bankverbindung %1 der Firma entfernen?").arg(Iban::grouped(account.iban)),
            Dialogs::Icon::Question, Dialogs::Answer::No) == Dialogs::Answer::Yes)
        finish(BankAccountOperation(m_session).remove(account.id));
}
