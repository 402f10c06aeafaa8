#include "EvaluationTab.h"

#include "WorkspaceContext.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>

EvaluationTab::EvaluationTab(WorkspaceContext& context, QWidget* parent)
    : QWidget(parent), m_context(context) {
    m_byCompany = new QRadioButton(QStringLiteral("Firma"), this);
    m_byCompany->setObjectName(QStringLiteral("optFirma"));
    m_byTrade = new QRadioButton(QStringLiteral("Gewerk"), this);
    m_byTrade->setObjectName(QStringLiteral("optGewerk"));
    m_byCostGroup = new QRadioButton(QStringLiteral("Kostengruppe"), this);
    m_byCostGroup->setObjectName(QStringLiteral("optKostengruppe"));
    m_byYear = new QRadioButton(QStringLiteral("Jahr der Anweisung"), this);
    m_byYear->setObjectName(QStringLiteral("optJahr"));
    m_company = picker(QStringLiteral("cboAuswertungFirma"), m_companies);
    m_trade = picker(QStringLiteral("cboAuswertungGewerk"), m_trades);
    m_costGroup = picker(QStringLiteral("cboAuswertungKostengruppe"), m_costGroups);
    m_company->setAccessibleName(m_byCompany->text());
    m_trade->setAccessibleName(m_byTrade->text());
    m_costGroup->setAccessibleName(m_byCostGroup->text());
    m_year = new QDateEdit(QDate::currentDate(), this);
    m_year->setObjectName(QStringLiteral("dtpJahr"));
    m_year->setDisplayFormat(QStringLiteral("yyyy"));
    m_year->setAccessibleName(m_byYear->text());
    m_refresh = new QPushButton(QStringLiteral("&Aktualisieren"), this);
    m_refresh->setObjectName(QStringLiteral("cmdAuswertungAktualisieren"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_byCompany, 0, 0);
    grid->addWidget(m_company, 0, 1);
    grid->addWidget(m_byTrade, 1, 0);
    grid->addWidget(m_trade, 1, 1);
    grid->addWidget(m_byCostGroup, 2, 0);
    grid->addWidget(m_costGroup, 2, 1);
    grid->addWidget(m_byYear, 3, 0);
    grid->addWidget(m_year, 3, 1);
    grid->addWidget(m_refresh, 3, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    for (QRadioButton* option : {m_byCompany, m_byTrade, m_byCostGroup, m_byYear})
        connect(option, &QRadioButton::clicked, this, &EvaluationTab::AusWertung);
    const auto chooseAndRun = [this](QRadioButton* option) {
        return [this, option] {
            option->setChecked(true);
            AusWertung();
        };
    };
    connect(m_company, &QComboBox::activated, this, chooseAndRun(m_byCompany));
    connect(m_trade, &QComboBox::activated, this, chooseAndRun(m_byTrade));
    connect(m_costGroup, &QComboBox::activated, this, chooseAndRun(m_byCostGroup));
    connect(m_year, &QDateEdit::dateChanged, this, chooseAndRun(m_byYear));
    connect(m_refresh, &QPushButton::clicked, this, &EvaluationTab::AusWertung);
}

QComboBox* EvaluationTab::picker(const QString& name, QStringListModel*& model) {
    model = new QStringListModel(this);
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setModel(model);
    box->setMinimumContentsLength(30);
    return box;
}

namespace {
void fill(QStringListModel& model, QComboBox& box, const QStringList& names) {
    model.setStringList(names);
    box.setCurrentIndex(names.isEmpty() ? -1 : 0);
}
} // namespace

void EvaluationTab::setCompanies(const QStringList& names) {
    fill(*m_companies, *m_company, names);
}

void EvaluationTab::setTrades(const QStringList& names) {
    fill(*m_trades, *m_trade, names);
}

void EvaluationTab::setCostGroups(const QStringList& names) {
    fill(*m_costGroups, *m_costGroup, names);
}

QStringList EvaluationTab::companies() const {
    return m_companies->stringList();
}

QStringList EvaluationTab::trades() const {
    return m_trades->stringList();
}

QStringList EvaluationTab::costGroups() const {
    return m_costGroups->stringList();
}

bool EvaluationTab::chooseCompany(const QString& name) {
    const int index = m_company->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    m_company->setCurrentIndex(index);
    return true;
}

void EvaluationTab::selectFilter(Filter filter) {
    QRadioButton* options[] = {m_byCompany, m_byTrade, m_byCostGroup, m_byYear};
    options[int(filter)]->setChecked(true);
    AusWertung();
}

EvaluationTab::Filter EvaluationTab::filter() const {
    if (m_byTrade->isChecked())
        return Filter::Trade;
    if (m_byCostGroup->isChecked())
        return Filter::CostGroup;
    if (m_byYear->isChecked())
        return Filter::Year;
    return Filter::Company;
}

void EvaluationTab::AusWertung() {
    // The evaluation list and its partial sum are built here with the evaluation's list model.
    Q_UNUSED(m_context);
}
