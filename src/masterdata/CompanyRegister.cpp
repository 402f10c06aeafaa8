#include "CompanyRegister.h"

#include "BankAccountPanel.h"
#include "ChangeWatch.h"
#include "CompanyListModel.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "ExemptionPanel.h"
#include "ExemptionReading.h"
#include "FollowedScreen.h"
#include "Registers.h"
#include "RemoveCompany.h"
#include "ReportListView.h"
#include "RightMirror.h"
#include "SameName.h"
#include "SaveCompany.h"
#include "Session.h"
#include "StoredChoice.h"
#include "StyleIcon.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The entry fields' positions in m_fields, Text1 to Text9.
enum Field { Name, Postcode, Town, Street, Phone, Fax, Contact, Mobile, Email };
} // namespace

CompanyRegister::CompanyRegister(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_watch(session.watch(this)) {
    setObjectName(QStringLiteral("frmFirma"));
    setWindowTitle(QStringLiteral("Firma anlegen"));
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(11500, 13400, *this));

    fillChoices();
    EINLESEN();
    FollowedScreen::follow(*m_watch, *this, [this] { search(); });
    mirrorRights();
}

CompanyRegister::~CompanyRegister() = default;

QWidget* CompanyRegister::buildEntryFields() {
    auto* box = new QWidget(this);
    for (int i = 0; i < 9; ++i) {
        auto* field = new QLineEdit(box);
        field->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        m_fields.append(field);
    }
    m_trade = new QComboBox(box);
    m_trade->setObjectName(QStringLiteral("Combo1"));
    m_costGroup = new QComboBox(box);
    m_costGroup->setObjectName(QStringLiteral("Combo2"));

    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field, QWidget* second = nullptr) {
        auto* label = new QLabel(caption, box);
        label->setBuddy(field);
        layout->addWidget(label, row, 0);
        if (second) {
            layout->addWidget(field, row, 1);
            layout->addWidget(second, row, 2);
        } else {
            layout->addWidget(field, row, 1, 1, 2);
        }
        ++row;
    };
    addRow(QStringLiteral("Firma"), m_fields[Name]);
    addRow(QStringLiteral("Straße"), m_fields[Street]);
    addRow(QStringLiteral("PLZ, Ort"), m_fields[Postcode], m_fields[Town]);
    m_fields[Town]->setAccessibleName(QStringLiteral("Ort"));
    addRow(QStringLiteral("Telefon"), m_fields[Phone]);
    addRow(QStringLiteral("Telefax"), m_fields[Fax]);
    addRow(QStringLiteral("Mobil"), m_fields[Mobile]);
    addRow(QStringLiteral("eMail"), m_fields[Email]);
    addRow(QStringLiteral("Ansprechpartner"), m_fields[Contact]);
    addRow(QStringLiteral("Gewerk"), m_trade);
    addRow(QStringLiteral("Kostengruppe"), m_costGroup);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 3);

    QWidget* previous = m_fields[Name];
    for (QWidget* next : {static_cast<QWidget*>(m_fields[Street]), static_cast<QWidget*>(m_fields[Postcode]),
                          static_cast<QWidget*>(m_fields[Town]), static_cast<QWidget*>(m_fields[Phone]),
                          static_cast<QWidget*>(m_fields[Fax]), static_cast<QWidget*>(m_fields[Mobile]),
                          static_cast<QWidget*>(m_fields[Email]), static_cast<QWidget*>(m_fields[Contact]),
                          static_cast<QWidget*>(m_trade), static_cast<QWidget*>(m_costGroup)}) {
        setTabOrder(previous, next);
        previous = next;
    }
    return box;
}

void CompanyRegister::mirrorRights() {
    RightMirror::apply({m_add, m_delete}, m_session.may(Right::Record), rightWord(Right::Record));
    m_exemptions->allowWriting(m_session.may(Right::Record), rightWord(Right::Record));
}

void CompanyRegister::buildUi() {
    QWidget* entry = buildEntryFields();

    auto makeButton = [this](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        return button;
    };
    m_add = makeButton(QStringLiteral("Command2"), QStringLiteral("&Hinzufügen"));
    m_edit = makeButton(QStringLiteral("Command4"), QStringLiteral("Laden / &Bearbeiten"));
    m_delete = makeButton(QStringLiteral("Command3"), QStringLiteral("&Löschen"));

    auto makeIconButton = [this](const QString& name, QStyle::StandardPixmap icon, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setIcon(StyleIcon::of(*this, icon));
        button->setToolTip(tip);
        button->setAccessibleName(tip);
        button->setAutoRaise(true);
        return button;
    };
    m_print = makeIconButton(QStringLiteral("Command7"), QStyle::SP_FileDialogContentsView,
                             QStringLiteral("Druckvorschau"));
    m_quit = makeIconButton(QStringLiteral("Command8"), QStyle::SP_DialogCloseButton,
                            QStringLiteral("Programm beenden"));

    auto* frame = new QGroupBox(QStringLiteral("Suchen / Filter"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_search = new QLineEdit(frame);
    m_search->setObjectName(QStringLiteral("Text10"));
    m_search->setToolTip(QStringLiteral("Geben Sie hier den Suchtext ein"));
    m_search->setAccessibleName(frame->title());
    m_anywhere = new QRadioButton(QStringLiteral("-- X --"), frame);
    m_anywhere->setObjectName(QStringLiteral("Option1"));
    m_anywhere->setToolTip(QStringLiteral("Sucht den Suchtext irgendwo im Text"));
    m_anywhere->setChecked(true);
    m_fromLeft = new QRadioButton(QStringLiteral("X --"), frame);
    m_fromLeft->setObjectName(QStringLiteral("Option2"));
    m_fromLeft->setToolTip(QStringLiteral("Sucht den Suchtext im Text von links nach rechts"));
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->addWidget(m_search, 1);
    frameLayout->addWidget(m_anywhere);
    frameLayout->addWidget(m_fromLeft);

    m_list = new ReportListView(QStringLiteral("ListView1"), this);
    m_model = new CompanyListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({900, 3500, 2800, 2000, 2000});
    m_list->header()->setSectionsClickable(true);

    m_bankAccounts = new BankAccountPanel(m_session, m_dialogs, this);
    m_exemptions = new ExemptionPanel(m_session, m_dialogs, this);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    m_status->addWidget(new QLabel(m_status), 1);
    m_count = new QLabel(m_status);
    m_status->addWidget(m_count, 1);

    m_editing = new EditSession(*this, *this, *m_fields[Name], *m_add, *m_list, *this, *m_watch, m_dialogs);
    for (QLineEdit* field : m_fields.mid(Name + 1))
        m_editing->submitOnEnter(*field);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addSpacing(Twips::toPixelsY(200, *this));
    buttons->addWidget(m_editing->notice(), 0, Qt::AlignHCenter);
    buttons->addWidget(m_editing->cancelButton());
    buttons->addStretch();
    auto* iconButtons = new QHBoxLayout;
    iconButtons->addWidget(m_print);
    iconButtons->addWidget(m_quit);
    buttons->insertLayout(0, iconButtons);
    buttons->insertSpacing(1, Twips::toPixelsY(300, *this));

    auto* top = new QHBoxLayout;
    top->addWidget(entry, 1);
    top->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(frame);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_bankAccounts);
    layout->addWidget(m_exemptions);
    layout->addWidget(m_status);

    setTabOrder(m_costGroup, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_delete);
    setTabOrder(m_delete, m_editing->cancelButton());
    setTabOrder(m_editing->cancelButton(), m_search);
    setTabOrder(m_search, m_anywhere);
    setTabOrder(m_anywhere, m_fromLeft);
    setTabOrder(m_fromLeft, m_list);
    setTabOrder(m_list, m_print);
    setTabOrder(m_print, m_quit);

    connect(m_add, &QPushButton::clicked, m_editing, &EditSession::save);
    connect(m_edit, &QPushButton::clicked, m_editing, &EditSession::loadSelected);
    connect(m_delete, &QPushButton::clicked, this, &CompanyRegister::removeSelected);
    connect(m_search, &QLineEdit::textChanged, this, &CompanyRegister::search);
    connect(m_anywhere, &QRadioButton::clicked, this, &CompanyRegister::search);
    connect(m_fromLeft, &QRadioButton::clicked, this, &CompanyRegister::search);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &CompanyRegister::sortByHeading);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CompanyRegister::followSelection);
    connect(m_print, &QToolButton::clicked, this, &CompanyRegister::printPreviewRequested);
    connect(m_exemptions, &ExemptionPanel::changed, this, &CompanyRegister::markCertificates);
    connect(m_quit, &QToolButton::clicked, this, &QWidget::close);
}

void CompanyRegister::fillChoices() {
    const Registers registers(m_session);
    const Reading<QList<NameEntry>> trades = registers.names(NameList::Trades);
    const Reading<QList<NameEntry>> costGroups = registers.names(NameList::CostGroups);
    m_trade->clear();
    for (const NameEntry& trade : trades.value)
        m_trade->addItem(trade.name);
    m_costGroup->clear();
    for (const NameEntry& costGroup : costGroups.value)
        m_costGroup->addItem(costGroup.name);
    if (!trades.ok || !costGroups.ok)
        m_editing->reportReadFailure(costGroups.ok ? trades.failure : costGroups.failure);
}

void CompanyRegister::EINLESEN() {
    showCompanies(Registers(m_session).companies());
}

void CompanyRegister::search() {
    showCompanies(Registers(m_session).companies(m_search->text(), m_fromLeft->isChecked()));
}

void CompanyRegister::showCompanies(Reading<QList<Company>> companies) {
    const qsizetype count = companies.value.size();
    m_model->setCompanies(std::move(companies.value));
    m_count->setText(QStringLiteral("Anzahl Firmen: ") + QString::number(count));
    markCertificates();
    followSelection();
    if (!companies.ok)
        m_editing->reportReadFailure(companies.failure);
}

Company CompanyRegister::companyFromFields() const {
    Company company;
    company.name = m_fields[Name]->text();
    company.street = m_fields[Street]->text();
    company.postcode = m_fields[Postcode]->text();
    company.town = m_fields[Town]->text();
    company.phone = m_fields[Phone]->text();
    company.fax = m_fields[Fax]->text();
    company.mobile = m_fields[Mobile]->text();
    company.email = m_fields[Email]->text();
    company.contact = m_fields[Contact]->text();
    company.trade = m_trade->currentText();
    company.costGroup = m_costGroup->currentText();
    return company;
}

void CompanyRegister::followSelection() {
    const int row = m_list->selectedRow();
    const std::optional<qint64> company = row < 0 ? std::nullopt : std::optional<qint64>(m_model->idAt(row));
    m_bankAccounts->showCompany(company);
    m_exemptions->showCompany(company);
}

void CompanyRegister::markCertificates() {
    const int today = DayNumber::fromDate(QDate::currentDate());
    Reading<QHash<qint64, int>> ending = ExemptionReading::endingSoon(m_session, today);
    m_model->setCertificatesEnding(std::move(ending.value), today);
    if (!ending.ok)
        m_editing->reportReadFailure(ending.failure);
}

void CompanyRegister::removeSelected() {
    m_editing->removeSelected([this](qint64 id, int) {
        const QString question =
            QStringLiteral("Nr. '") + QString::number(id) + QStringLiteral("' löschen?          ");
        return m_dialogs.ask(this, QStringLiteral("Firma löschen"), question, Dialogs::Icon::Question,
                             Dialogs::Answer::Yes) == Dialogs::Answer::Yes;
    });
}

qint64 CompanyRegister::idAt(int row) const {
    return m_model->idAt(row);
}

Reading<std::optional<AsLoaded>> CompanyRegister::loadIntoFields(qint64 id) {
    const Reading<std::optional<Loaded<Company>>> loaded = Registers(m_session).companyForEditing(id);
    if (!loaded.ok || !loaded.value)
        return {std::nullopt, loaded.ok, loaded.failure};
    const Company& company = loaded.value->row;
    m_fields[Name]->setText(company.name);
    m_fields[Street]->setText(company.street);
    m_fields[Postcode]->setText(company.postcode);
    m_fields[Town]->setText(company.town);
    m_fields[Phone]->setText(company.phone);
    m_fields[Fax]->setText(company.fax);
    m_fields[Mobile]->setText(company.mobile);
    m_fields[Email]->setText(company.email);
    m_fields[Contact]->setText(company.contact);
    StoredChoice::show(*m_trade, company.trade);
    StoredChoice::show(*m_costGroup, company.costGroup);
    return {loaded.value->asLoaded};
}

Reading<bool> CompanyRegister::exists(qint64 id) {
    const Reading<std::optional<Company>> company = Registers(m_session).company(id);
    return {company.value.has_value(), company.ok, company.failure};
}

Reading<bool> CompanyRegister::hasNamesake(qint64 id, const QString& newName) {
    const Registers registers(m_session);
    const Reading<std::optional<Company>> first = registers.companyNamed(newName);
    if (!first.ok || !first.value || first.value->id != id)
        return {first.value.has_value(), first.ok, first.failure};
    // The loaded company itself carries the name already (changed elsewhere): look for a second one.
    const Reading<QList<Company>> all = registers.companiesByName();
    return {std::any_of(
                all.value.cbegin(), all.value.cend(),
                [&](const Company& company) { return company.id != id && sameName(company.name, newName); }),
            all.ok, all.failure};
}

// A company's copies follow a rename wherever they match its old name ignoring case.
bool CompanyRegister::sameName(const QString& oldName, const QString& newName) const {
    return SameName::equal(oldName, newName);
}

QString CompanyRegister::renameTitle() const {
    return QStringLiteral("Firma umbenennen");
}

QString CompanyRegister::renameQuestion(const QString& newName) const {
    return QStringLiteral("Eine Firma '%1' ist bereits vorhanden. Die Buchungen beider Firmen tragen danach "
                          "denselben Namen und lassen sich nicht mehr trennen. Trotzdem umbenennen?")
        .arg(newName);
}

Outcome CompanyRegister::add() {
    return SaveCompany(m_session).add(companyFromFields());
}

Outcome CompanyRegister::store(qint64 id, const QString& oldName, const AsLoaded& loaded) {
    Company company = companyFromFields();
    company.id = id;
    return SaveCompany(m_session).change(company, oldName, loaded);
}

Outcome CompanyRegister::remove(qint64 id) {
    return RemoveCompany(m_session).run(id);
}

void CompanyRegister::clearFields() {
    for (QLineEdit* field : m_fields)
        field->clear();
    StoredChoice::forget(*m_trade);
    StoredChoice::forget(*m_costGroup);
}

void CompanyRegister::refill() {
    EINLESEN();
}

void CompanyRegister::sortByHeading(int column) {
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_model->stopKeepingSorted();
    m_list->sortBy(column, column, m_order);
}

ListSnapshot CompanyRegister::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::CompanyList;
    snapshot.headings = m_model->shownHeadings(m_model->columnCount());
    snapshot.rows = m_model->shownRows(m_model->columnCount());
    snapshot.values = {{QStringLiteral("Suchtext"), m_search->text()},
                       {QStringLiteral("Anzahl"), m_count->text()}};
    return snapshot;
}

void CompanyRegister::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closing();
}

bool CompanyRegister::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        m_model->keepSorted(int(CompanyListModel::Column::Name), m_order);
        m_list->setSortArrow(int(CompanyListModel::Column::Name), m_order);
    }
    return QWidget::event(event);
}
