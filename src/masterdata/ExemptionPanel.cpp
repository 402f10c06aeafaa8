#include "ExemptionPanel.h"

#include "DayNumber.h"
#include "Dialogs.h"
#include "ExemptionListModel.h"
#include "ExemptionOperation.h"
#include "ExemptionReading.h"
#include "ExemptionStatus.h"
#include "ReportListView.h"
#include "RightMirror.h"

#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    : CompanyRecordPanel(
          session, dialogs, QStringLiteral("Freistellungsbescheinigungen (§48b EStG)"), kTitle,
          QStringLiteral("lvwFreistellungen"),
          {QStringLiteral("cmdFreistellungHinzufuegen"), QStringLiteral("Bescheinigung hinzufügen")},
          {QStringLiteral("cmdFreistellungAendern"), QStringLiteral("Bescheinigung ändern")},
          {QStringLiteral("cmdFreistellungEntfernen"), QStringLiteral("Bescheinigung entfernen")}, parent) {
    setObjectName(QStringLiteral("fraFreistellungen"));
    m_model = new ExemptionListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({1300, 1300, 1000, 1000, 1000});

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
    arrange(fields, 4);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ExemptionPanel::takeSelected);
    showCompany(std::nullopt);
}

void ExemptionPanel::allowWriting(bool allowed, const QString& rightWord) {
    m_mayWrite = allowed;
    RightMirror::apply({m_add, m_change, m_remove}, allowed, rightWord);
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
        warn(read.failure);
}

void ExemptionPanel::takeSelected() {
    const std::optional<int> row = selected(m_exemptions.size());
    m_change->setEnabled(row && m_mayWrite);
    m_remove->setEnabled(row && m_mayWrite);
    if (!row)
        return;
    const Exemption& exemption = m_exemptions.at(*row);
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
    warn(QStringLiteral("Bitte geben Sie die Tage als TT.MM.JJJJ ein."));
    return std::nullopt;
}

void ExemptionPanel::add() {
    if (!m_company)
        return;
    if (const std::optional<Exemption> exemption = fromFields())
        finish(ExemptionOperation(m_session).add(*exemption));
}

void ExemptionPanel::change() {
    const std::optional<int> row = selected(m_exemptions.size());
    if (!row)
        return;
    if (const std::optional<Exemption> exemption = fromFields())
        finish(ExemptionOperation(m_session).change(m_exemptions.at(*row), *exemption));
}

void ExemptionPanel::remove() {
    const std::optional<int> row = selected(m_exemptions.size());
    if (!row)
        return;
    const Exemption& exemption = m_exemptions.at(*row);
    if (m_dialogs.ask(
            this, QStringLiteral("Freistellungsbescheinigung entfernen"),
            QStringLiteral("Die Freistellungsbescheinigung %1 der Firma entfernen?").arg(exemption.number),
            Dialogs::Icon::Question, Dialogs::Answer::No) == Dialogs::Answer::Yes)
        finish(ExemptionOperation(m_session).remove(exemption.id));
}
