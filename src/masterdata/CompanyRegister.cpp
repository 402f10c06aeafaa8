#include "CompanyRegister.h"

#include "ChangeWatch.h"
#include "CompanyListModel.h"
#include "CompanyRepository.h"
#include "Database.h"
#include "Dialogs.h"
#include "FollowedLists.h"
#include "NameCascade.h"
#include "NameEntryRepository.h"
#include "PatternMatcher.h"
#include "ReportListView.h"
#include "Session.h"
#include "StoredChoice.h"
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
    : QWidget(parent, Qt::Window), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmFirma"));
    setWindowTitle(QStringLiteral("Firma anlegen"));
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(11500, 9000, *this));

    m_db = &session.database();
    fillChoices();
    EINLESEN();
    m_watch = session.watch(this);
    auto* lists = new FollowedLists(
        *this, [this] { search(); }, [this] { m_watch->check(); });
    connect(m_watch, &ChangeWatch::changed, lists, &FollowedLists::refillKeepingView);
    connect(m_watch, &ChangeWatch::followingChanged, lists, &FollowedLists::setFollowing);
    lists->setFollowing(m_watch->isFollowing());
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
        button->setIcon(style()->standardIcon(icon));
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

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    m_status->addWidget(new QLabel(m_status), 1);
    m_count = new QLabel(m_status);
    m_status->addWidget(m_count, 1);

    m_editing = new EditSession(*this, *this, *m_fields[Name], *m_add, *this, m_dialogs);
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
    connect(m_edit, &QPushButton::clicked, this, &CompanyRegister::loadForEditing);
    connect(m_delete, &QPushButton::clicked, this, &CompanyRegister::removeSelected);
    connect(m_search, &QLineEdit::textChanged, this, &CompanyRegister::search);
    connect(m_anywhere, &QRadioButton::clicked, this, &CompanyRegister::search);
    connect(m_fromLeft, &QRadioButton::clicked, this, &CompanyRegister::search);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &CompanyRegister::sortByHeading);
    connect(m_print, &QToolButton::clicked, this, &CompanyRegister::printPreviewRequested);
    connect(m_quit, &QToolButton::clicked, this, &QWidget::close);
}

void CompanyRegister::fillChoices() {
    bool tradesOk = true;
    bool costGroupsOk = true;
    const QList<NameEntry> trades =
        NameEntryRepository(*m_db, NameEntryRepository::Table::Trades).byName(&tradesOk);
    const QList<NameEntry> costGroups =
        NameEntryRepository(*m_db, NameEntryRepository::Table::CostGroups).byName(&costGroupsOk);
    m_trade->clear();
    for (const NameEntry& trade : trades)
        m_trade->addItem(trade.name);
    m_costGroup->clear();
    for (const NameEntry& costGroup : costGroups)
        m_costGroup->addItem(costGroup.name);
    if (!tradesOk || !costGroupsOk)
        m_editing->reportReadFailure();
}

void CompanyRegister::EINLESEN() {
    if (!m_db)
        return;
    bool ok = true;
    showCompanies(CompanyRepository(*m_db).byId(&ok), ok);
}

void CompanyRegister::search() {
    if (!m_db)
        return;
    const QString text = m_search->text();
    if (text.isEmpty()) {
        EINLESEN();
        return;
    }
    bool ok = true;
    const auto from = m_fromLeft->isChecked() ? CompanyRepository::SearchFrom::Left
                                              : CompanyRepository::SearchFrom::Anywhere;
    showCompanies(CompanyRepository(*m_db).search(text, from, &ok), ok);
}

void CompanyRegister::showCompanies(QList<Company> companies, bool ok) {
    const qsizetype count = companies.size();
    m_model->setCompanies(std::move(companies));
    m_count->setText(QStringLiteral("Anzahl Firmen: ") + QString::number(count));
    if (!ok)
        m_editing->reportReadFailure();
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

void CompanyRegister::loadForEditing() {
    const int row = m_list->selectedRow();
    if (row >= 0)
        m_editing->load(m_model->idAt(row));
}

void CompanyRegister::removeSelected() {
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    const qint64 id = m_model->idAt(row);
    m_editing->remove(id, [this, id] {
        const QString question =
            QStringLiteral("Nr. '") + QString::number(id) + QStringLiteral("' löschen?          ");
        return m_dialogs.ask(this, QStringLiteral("Firma löschen"), question, Dialogs::Icon::Question,
                             Dialogs::Answer::Yes) == Dialogs::Answer::Yes;
    });
}

Database* CompanyRegister::database() const {
    return m_db;
}

std::optional<bool> CompanyRegister::loadIntoFields(qint64 id) {
    bool ok = true;
    const std::optional<Company> company = CompanyRepository(*m_db).find(id, &ok);
    if (!ok)
        return std::nullopt;
    if (!company)
        return false;
    m_fields[Name]->setText(company->name);
    m_fields[Street]->setText(company->street);
    m_fields[Postcode]->setText(company->postcode);
    m_fields[Town]->setText(company->town);
    m_fields[Phone]->setText(company->phone);
    m_fields[Fax]->setText(company->fax);
    m_fields[Mobile]->setText(company->mobile);
    m_fields[Email]->setText(company->email);
    m_fields[Contact]->setText(company->contact);
    StoredChoice::show(*m_trade, company->trade);
    StoredChoice::show(*m_costGroup, company->costGroup);
    return true;
}

std::optional<bool> CompanyRegister::exists(qint64 id) {
    bool ok = true;
    const bool found = CompanyRepository(*m_db).find(id, &ok).has_value();
    return ok ? std::optional<bool>(found) : std::nullopt;
}

std::optional<bool> CompanyRegister::hasNamesake(qint64 id, const QString& newName) {
    CompanyRepository companies(*m_db);
    bool ok = true;
    const std::optional<Company> first = companies.findByName(newName, &ok);
    if (!ok)
        return std::nullopt;
    if (!first || first->id != id)
        return first.has_value();
    // The loaded company itself carries the name already (changed elsewhere): look for a second one.
    const QList<Company> all = companies.byName(&ok);
    if (!ok)
        return std::nullopt;
    return std::any_of(all.cbegin(), all.cend(), [&](const Company& company) {
        return company.id != id && sameName(company.name, newName);
    });
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

bool CompanyRegister::add() {
    return CompanyRepository(*m_db).add(companyFromFields()).has_value();
}

QString CompanyRegister::table() const {
    return QStringLiteral("tblFirma");
}

bool CompanyRegister::store(qint64 id, const QString& oldName, const QString& loadedStamp) {
    Company company = companyFromFields();
    company.id = id;
    return NameCascade(*m_db, loadedStamp).changeCompany(company, oldName);
}

bool CompanyRegister::remove(qint64 id) {
    return CompanyRepository(*m_db).remove(id);
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
    for (int column = 0; column < m_model->columnCount(); ++column)
        snapshot.headings.append(m_model->headerData(column, Qt::Horizontal).toString());
    for (int row = 0; row < m_model->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < m_model->columnCount(); ++column)
            texts.append(m_model->textAt(row, column));
        snapshot.rows.append(texts);
    }
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
