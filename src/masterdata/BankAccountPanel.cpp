#include "BankAccountPanel.h"

#include "BankAccountListModel.h"
#include "BankAccountOperation.h"
#include "BankAccountReading.h"
#include "Dialogs.h"
#include "Iban.h"
#include "ReportListView.h"
#include "Twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Bankverbindung");
} // namespace

BankAccountPanel::BankAccountPanel(Session& session, Dialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral("Bankverbindungen"), parent), m_session(session), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("fraBankverbindungen"));
    m_list = new ReportListView(QStringLiteral("lvwBankverbindungen"), this);
    m_model = new BankAccountListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({2700, 1750, 2200});
    m_list->setAccessibleName(title());

    const auto field = [this](const QString& name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    m_iban = field(QStringLiteral("txtIBAN"));
    m_bic = field(QStringLiteral("txtBIC"));
    m_holder = field(QStringLiteral("txtKontoinhaber"));
    m_check = new QLabel(this);
    m_check->setObjectName(QStringLiteral("lblIBANPruefung"));
    m_check->setWordWrap(true);
    m_check->setStyleSheet(QStringLiteral("color: #c00000"));

    const auto button = [this](const QString& name, const QString& caption) {
        auto* pushButton = new QPushButton(caption, this);
        pushButton->setObjectName(name);
        pushButton->setAccessibleName(caption);
        return pushButton;
    };
    m_add = button(QStringLiteral("cmdKontoHinzufuegen"), QStringLiteral("Konto hinzufügen"));
    m_change = button(QStringLiteral("cmdKontoAendern"), QStringLiteral("Konto ändern"));
    m_remove = button(QStringLiteral("cmdKontoEntfernen"), QStringLiteral("Konto entfernen"));

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
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_change);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 4);
    layout->addLayout(fields, 3);
    layout->addLayout(buttons);
    m_list->setMaximumHeight(Twips::toPixelsY(1300, *this));

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BankAccountPanel::takeSelected);
    connect(m_iban, &QLineEdit::textChanged, this, &BankAccountPanel::showCheck);
    connect(m_bic, &QLineEdit::textChanged, this, &BankAccountPanel::showCheck);
    connect(m_add, &QPushButton::clicked, this, &BankAccountPanel::add);
    connect(m_change, &QPushButton::clicked, this, &BankAccountPanel::change);
    connect(m_remove, &QPushButton::clicked, this, &BankAccountPanel::remove);
    showCompany(std::nullopt);
}

void BankAccountPanel::showCompany(std::optional<qint64> companyId) {
    const bool same = companyId == m_company;
    m_company = companyId;
    setEnabled(companyId.has_value());
    setToolTip(companyId ? QString() : QStringLiteral("Wählen Sie eine Firma in der Liste."));
    if (!same) {
        m_iban->clear();
        m_bic->clear();
        m_holder->clear();
    }
    refill();
}

void BankAccountPanel::refill() {
    QString failure;
    m_accounts =
        m_company ? BankAccountReading::forCompany(m_session, *m_company, &failure) : QList<BankAccount>();
    m_model->setAccounts(m_accounts);
    m_change->setEnabled(false);
    m_remove->setEnabled(false);
    if (!failure.isEmpty())
        m_dialogs.inform(this, kTitle, failure, Dialogs::Icon::Warning);
}

void BankAccountPanel::takeSelected() {
    const int row = m_list->selectedRow();
    const bool chosen = row >= 0 && row < m_accounts.size();
    m_change->setEnabled(chosen);
    m_remove->setEnabled(chosen);
    if (!chosen)
        return;
    const BankAccount& account = m_accounts.at(row);
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
    const int row = m_list->selectedRow();
    if (row >= 0 && row < m_accounts.size())
        finish(BankAccountOperation(m_session).change(m_accounts.at(row), fromFields()));
}

void BankAccountPanel::remove() {
    const int row = m_list->selectedRow();
    if (row < 0 || row >= m_accounts.size())
        return;
    const BankAccount& account = m_accounts.at(row);
    if (m_dialogs.ask(
            this, QStringLiteral("Bankverbindung entfernen"),
            QStringLiteral("Die Bankverbindung %1 der Firma entfernen?").arg(Iban::grouped(account.iban)),
            Dialogs::Icon::Question, Dialogs::Answer::No) == Dialogs::Answer::Yes)
        finish(BankAccountOperation(m_session).remove(account.id));
}

void BankAccountPanel::finish(const Outcome& outcome) {
    if (!outcome.ok()) {
        m_dialogs.inform(this, kTitle, outcome.text(), Dialogs::Icon::Warning);
        if (outcome.kind() == Outcome::Kind::Refused)
            return;
    } else {
        m_iban->clear();
        m_bic->clear();
        m_holder->clear();
    }
    refill();
}
