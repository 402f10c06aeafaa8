#include "ExemptionPanel.h"

#include "DayNumber.h"
#include "Dialogs.h"
#include "ExemptionListModel.h"
#include "ExemptionOperation.h"
#include "ExemptionReading.h"
#include "ExemptionStatus.h"
#include "ReportListView.h"
#include "RightMirror.h"
#include "Twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Freistellungsbescheinigung");

// A day typed as "15.03.2024" or "15.3.2024"; nullopt for an empty field, false in *ok for no date.
std::optional<int> typedDay(const QLineEdit& field, bool* ok) {
    const QString text = field.text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QDate date = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
    if (!date.isValid()) {
        *ok = false;
        return std::nullopt;
    }
    return DayNumber::fromDate(date);
}
} // namespace

ExemptionPanel::ExemptionPanel(Session& session, Dialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral("Freistellungsbescheinigungen (§48b EStG)"), parent), m_session(session),
      m_dialogs(dialogs) {
    setObjectName(QStringLiteral("fraFreistellungen"));
    m_list = new ReportListView(QStringLiteral("lvwFreistellungen"), this);
    m_model = new ExemptionListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({1300, 1300, 1000, 1000, 1000});
    m_list->setAccessibleName(title());

    const auto field = [this](const QString& name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    m_number = field(QStringLiteral("txtFreistellungNr"));
    m_taxOffice = field(QStringLiteral("txtFinanzamt"));
    m_validFrom = field(QStringLiteral("txtGueltigVon"));
    m_validTo = field(QStringLiteral("txtGueltigBis"));
    m_checkedOn = field(QStringLiteral("txtGeprueftAm"));
    for (QLineEdit* day : {m_validFrom, m_validTo, m_checkedOn})
        day->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblFreistellungStatus"));
    m_status->setWordWrap(true);

    const auto button = [this](const QString& name, const QString& caption) {
        auto* pushButton = new QPushButton(caption, this);
        pushButton->setObjectName(name);
        pushButton->setAccessibleName(caption);
        return pushButton;
    };
    m_add = button(QStringLiteral("cmdFreistellungHinzufuegen"), QStringLiteral("Bescheinigung hinzufügen"));
    m_change = button(QStringLiteral("cmdFreistellungAendern"), QStringLiteral("Bescheinigung ändern"));
    m_remove = button(QStringLiteral("cmdFreistellungEntfernen"), QStringLiteral("Bescheinigung entfernen"));

    auto* fields = new QGridLayout;
    int row = 0;
    for (const auto& [caption, edit] : {std::pair{QStringLiteral("Nummer"), m_number},
                                        {QStringLiteral("Finanzamt"), m_taxOffice},
                                        {QStringLiteral("Gültig von"), m_validFrom},
                                        {QStringLiteral("Gültig bis"), m_validTo},
                                        {QStringLiteral("Geprüft am"), m_checkedOn}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        edit->setAccessibleName(caption);
        fields->addWidget(label, row / 2, (row % 2) * 2);
        fields->addWidget(edit, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
    fields->addWidget(m_status, 3, 0, 1, 4);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_change);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 4);
    layout->addLayout(fields, 4);
    layout->addLayout(buttons);
    m_list->setMaximumHeight(Twips::toPixelsY(1300, *this));

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ExemptionPanel::takeSelected);
    connect(m_add, &QPushButton::clicked, this, &ExemptionPanel::add);
    connect(m_change, &QPushButton::clicked, this, &ExemptionPanel::change);
    connect(m_remove, &QPushButton::clicked, this, &ExemptionPanel::remove);
    showCompany(std::nullopt);
}

void ExemptionPanel::allowWriting(bool allowed, const QString& rightWord) {
    m_mayWrite = allowed;
    RightMirror::apply({m_add, m_change, m_remove}, allowed, rightWord);
    refill();
}

void ExemptionPanel::showCompany(std::optional<qint64> companyId) {
    const bool same = companyId == m_company;
    m_company = companyId;
    setEnabled(companyId.has_value());
    setToolTip(companyId ? QString() : QStringLiteral("Wählen Sie eine Firma in der Liste."));
    if (!same) {
        for (QLineEdit* edit : {m_number, m_taxOffice, m_validFrom, m_validTo, m_checkedOn})
            edit->clear();
    }
    refill();
}

void ExemptionPanel::refill() {
    const Reading<QList<Exemption>> read =
        m_company ? ExemptionReading::forCompany(m_session, *m_company) : Reading<QList<Exemption>>();
    m_exemptions = read.value;
    m_model->setExemptions(m_exemptions);
    m_add->setEnabled(m_mayWrite);
    m_change->setEnabled(false);
    m_remove->setEnabled(false);
    const ExemptionStatus status =
        ExemptionStatus::of(m_exemptions, DayNumber::fromDate(QDate::currentDate()));
    m_status->setText(m_company && read.ok ? status.text : QString());
    m_status->setStyleSheet(status.colour().isEmpty() ? QString()
                                                      : QStringLiteral("color: %1").arg(status.colour()));
    if (!read.ok)
        m_dialogs.inform(this, kTitle, read.failure, Dialogs::Icon::Warning);
}

void ExemptionPanel::takeSelected() {
    const int row = m_list->selectedRow();
    const bool chosen = row >= 0 && row < m_exemptions.size();
    m_change->setEnabled(chosen && m_mayWrite);
    m_remove->setEnabled(chosen && m_mayWrite);
    if (!chosen)
        return;
    const Exemption& exemption = m_exemptions.at(row);
    m_number->setText(exemption.number);
    m_taxOffice->setText(exemption.taxOffice);
    m_validFrom->setText(DayNumber::format(exemption.validFrom));
    m_validTo->setText(DayNumber::format(exemption.validTo));
    m_checkedOn->setText(DayNumber::format(exemption.checkedOn));
}

std::optional<Exemption> ExemptionPanel::fromFields() {
    bool ok = true;
    Exemption exemption{0,
                        m_company.value_or(0),
                        m_number->text(),
                        m_taxOffice->text(),
                        typedDay(*m_validFrom, &ok),
                        typedDay(*m_validTo, &ok),
                        typedDay(*m_checkedOn, &ok)};
    if (ok)
        return exemption;
    m_dialogs.inform(this, kTitle, QStringLiteral("Bitte geben Sie die Tage als TT.MM.JJJJ ein."),
                     Dialogs::Icon::Warning);
    return std::nullopt;
}

void ExemptionPanel::add() {
    if (!m_company)
        return;
    if (const std::optional<Exemption> exemption = fromFields())
        finish(ExemptionOperation(m_session).add(*exemption));
}

void ExemptionPanel::change() {
    const int row = m_list->selectedRow();
    if (row < 0 || row >= m_exemptions.size())
        return;
    if (const std::optional<Exemption> exemption = fromFields())
        finish(ExemptionOperation(m_session).change(m_exemptions.at(row), *exemption));
}

void ExemptionPanel::remove() {
    const int row = m_list->selectedRow();
    if (row < 0 || row >= m_exemptions.size())
        return;
    const Exemption& exemption = m_exemptions.at(row);
    if (m_dialogs.ask(
            this, QStringLiteral("Freistellungsbescheinigung entfernen"),
            QStringLiteral("Die Freistellungsbescheinigung %1 der Firma entfernen?").arg(exemption.number),
            Dialogs::Icon::Question, Dialogs::Answer::No) == Dialogs::Answer::Yes)
        finish(ExemptionOperation(m_session).remove(exemption.id));
}

void ExemptionPanel::finish(const Outcome& outcome) {
    if (!outcome.ok()) {
        m_dialogs.inform(this, kTitle, outcome.text(), Dialogs::Icon::Warning);
        if (outcome.kind() == Outcome::Kind::Refused)
            return;
    } else {
        for (QLineEdit* edit : {m_number, m_taxOffice, m_validFrom, m_validTo, m_checkedOn})
            edit->clear();
    }
    refill();
    emit changed();
}
