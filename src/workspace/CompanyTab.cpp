#include "CompanyTab.h"

#include "CompanyRepository.h"
#include "WorkspaceContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>

CompanyTab::CompanyTab(WorkspaceContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    m_names = new QStringListModel(this);
    m_company = new QComboBox(this);
    m_company->setObjectName(QStringLiteral("cboFirmaFirma"));
    m_company->setModel(m_names);
    m_company->setMinimumContentsLength(30);
    m_all = new QCheckBox(QStringLiteral("Alle Firmen anzeigen"), this);
    m_all->setObjectName(QStringLiteral("chkAlleFirmen"));
    m_all->setChecked(true);
    m_trade = new QLineEdit(this);
    m_trade->setObjectName(QStringLiteral("txtFirmaGewerk"));
    m_costGroup = new QLineEdit(this);
    m_costGroup->setObjectName(QStringLiteral("txtFirmaKostengruppe"));
    m_projectTotal = new QLineEdit(this);
    m_projectTotal->setObjectName(QStringLiteral("txtGesamtmassnahme"));
    m_projectTotal->setAlignment(Qt::AlignRight);
    for (QLineEdit* shown : {m_trade, m_costGroup, m_projectTotal})
        shown->setReadOnly(true);

    auto label = [this](QWidget* buddy, const QString& caption) {
        auto* text = new QLabel(caption, this);
        text->setBuddy(buddy);
        return text;
    };
    auto* grid = new QGridLayout(this);
    grid->addWidget(label(m_company, QStringLiteral("&Firma")), 0, 0);
    grid->addWidget(m_company, 0, 1);
    grid->addWidget(m_all, 0, 2);
    grid->addWidget(label(m_trade, QStringLiteral("Gewerk")), 1, 0);
    grid->addWidget(m_trade, 1, 1);
    grid->addWidget(label(m_costGroup, QStringLiteral("Kostengruppe")), 2, 0);
    grid->addWidget(m_costGroup, 2, 1);
    grid->addWidget(label(m_projectTotal, QStringLiteral("Gesamtmaßnahme")), 3, 0);
    grid->addWidget(m_projectTotal, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Euro"), this), 3, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    connect(m_all, &QCheckBox::clicked, this, &CompanyTab::showAllToggled);
    connect(m_company, &QComboBox::activated, this, [this] {
        showCompany(m_company->currentText());
        emit companyChosen(m_company->currentText());
    });
}

bool CompanyTab::showsAllCompanies() const {
    return m_all->isChecked();
}

void CompanyTab::setShowsAllCompanies(bool all) {
    m_all->setChecked(all);
}

void CompanyTab::setCompanies(const QStringList& names) {
    m_names->setStringList(names);
    m_company->setCurrentIndex(names.isEmpty() ? -1 : 0);
    showCompany(m_company->currentText());
}

QStringList CompanyTab::companies() const {
    return m_names->stringList();
}

QString CompanyTab::company() const {
    return m_company->currentText();
}

bool CompanyTab::chooseCompany(const QString& name) {
    const int index = m_company->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    m_company->setCurrentIndex(index);
    showCompany(name);
    return true;
}

void CompanyTab::showCompany(const QString& name) {
    if (name.isEmpty()) {
        m_trade->clear();
        m_costGroup->clear();
        return;
    }
    const std::optional<Company> company = CompanyRepository(m_context.db).findByName(name);
    if (!company)
        return;
    m_trade->setText(company->trade);
    m_costGroup->setText(company->costGroup);
}

void CompanyTab::setProjectTotal(Money total) {
    m_projectTotal->setText(total.toGerman());
}

void CompanyTab::List2Fuellen() {
    // The company's estimate rows and their sums come with the estimate list of this tab.
}
