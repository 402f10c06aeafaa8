#include "ProjectManager.h"

#include "AmountField.h"
#include "ChangeWatch.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "FollowedScreen.h"
#include "ProjectListModel.h"
#include "RemoveProject.h"
#include "ReportListView.h"
#include "RightMirror.h"
#include "SaveProject.h"
#include "Session.h"
#include "StyleIcon.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

ProjectManager::ProjectManager(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_watch(session.watch(this)) {
    setObjectName(QStringLiteral("frmProjekt"));
    setWindowTitle(QStringLiteral("Projektmanager"));
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(19600, 9000, *this));

    EINLESEN();
    FollowedScreen::follow(*m_watch, *this, [this] { search(m_search->text()); });
    mirrorRights();
}

ProjectManager::~ProjectManager() = default;

void ProjectManager::mirrorRights() {
    RightMirror::apply({m_add, m_edit, m_delete}, m_session.may(Right::Administer),
                       rightWord(Right::Administer));
}

void ProjectManager::buildUi() {
    auto* nameLabel = new QLabel(QStringLiteral("Projektbezeichnung (Baustelle)"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_name->setToolTip(QStringLiteral("Projektbezeichnung"));
    nameLabel->setBuddy(m_name);

    auto* startLabel = new QLabel(QStringLiteral("Datum des Projektbeginns"), this);
    m_start = new QDateEdit(QDate::currentDate(), this);
    m_start->setObjectName(QStringLiteral("dtpStart"));
    m_start->setCalendarPopup(true);
    m_start->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    startLabel->setBuddy(m_start);

    auto* budgetLabel = new QLabel(QStringLiteral("Budget (€)"), this);
    m_budget = new AmountField(this);
    m_budget->setObjectName(QStringLiteral("txtBudget"));
    m_budget->setToolTip(QStringLiteral("Haushaltsansatz des Projekts in Euro; leer: kein Budget"));
    budgetLabel->setBuddy(m_budget);

    auto makeButton = [this](const QString& name, const QString& caption, const QString& tip) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setToolTip(tip);
        return button;
    };
    m_add = makeButton(QStringLiteral("cmdHinzufuegen"), QStringLiteral("&Hinzufügen"),
                       QStringLiteral("Neues Projekt anlegen"));
    m_edit = makeButton(QStringLiteral("cmdBearbeiten"), QStringLiteral("&Bearbeiten"),
                        QStringLiteral("Vorhandenes Projekt ändern"));
    m_delete = makeButton(QStringLiteral("cmdLoeschen"), QStringLiteral("&Löschen"),
                          QStringLiteral("Vorhandenes Projekt löschen"));
    m_loadProject =
        makeButton(QStringLiteral("cmdProjektLaden"), QStringLiteral("&Projekt laden"), QString());

    auto* searchFrame = new QGroupBox(QStringLiteral("Projekt suchen"), this);
    m_search = new QLineEdit(searchFrame);
    m_search->setObjectName(QStringLiteral("txtSuche"));
    m_search->setAccessibleName(searchFrame->title());
    auto* searchLayout = new QVBoxLayout(searchFrame);
    searchLayout->addWidget(m_search);

    m_quit = new QToolButton(this);
    m_quit->setObjectName(QStringLiteral("cmdBeenden"));
    m_quit->setIcon(StyleIcon::of(*this, QStyle::SP_DialogCloseButton));
    m_quit->setToolTip(QStringLiteral("Projektmanager beenden"));
    m_quit->setAccessibleName(m_quit->toolTip());
    m_quit->setAutoRaise(true);

    m_list = new ReportListView(QStringLiteral("lvwProjekte"), this);
    m_model = new ProjectListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({1300, 6200, 1500, 1900, 1900, 1900, 1900, 1100, 500});
    m_list->header()->setSectionsClickable(true);

    auto* entry = new QGridLayout;
    entry->addWidget(nameLabel, 0, 0);
    entry->addWidget(m_name, 1, 0);
    entry->addWidget(startLabel, 0, 1);
    entry->addWidget(m_start, 1, 1);
    entry->addWidget(budgetLabel, 0, 2);
    entry->addWidget(m_budget, 1, 2);
    entry->setColumnStretch(0, 1);

    m_editing = new EditSession(*this, *this, *m_name, *m_add, *m_list, *this, *m_watch, m_dialogs);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_add, m_edit, m_delete, m_loadProject})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(m_editing->notice());
    buttons->addWidget(m_editing->cancelButton());

    auto* left = new QVBoxLayout;
    left->addLayout(entry);
    left->addLayout(buttons);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(searchFrame);
    top->addWidget(m_quit, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);

    setTabOrder(m_name, m_start);
    setTabOrder(m_start, m_budget);
    setTabOrder(m_budget, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_delete);
    setTabOrder(m_delete, m_loadProject);
    setTabOrder(m_loadProject, m_editing->cancelButton());
    setTabOrder(m_editing->cancelButton(), m_search);
    setTabOrder(m_search, m_list);
    setTabOrder(m_list, m_quit);

    connect(m_add, &QPushButton::clicked, m_editing, &EditSession::save);
    connect(m_edit, &QPushButton::clicked, m_editing, &EditSession::loadSelected);
    connect(m_delete, &QPushButton::clicked, this, &ProjectManager::removeSelected);
    connect(m_loadProject, &QPushButton::clicked, this, &ProjectManager::requestLoad);
    connect(m_list, &QTreeView::doubleClicked, this, &ProjectManager::requestLoad);
    connect(m_search, &QLineEdit::textChanged, this, &ProjectManager::search);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        m_list->sortBy(column, column, m_order);
    });
    connect(m_quit, &QToolButton::clicked, this, [this] {
        emit closeRequested();
        close();
    });
}

void ProjectManager::EINLESEN() {
    showProjects(Registers(m_session).projects());
}

void ProjectManager::showProjects(const Reading<Registers::ProjectList>& projects) {
    m_model->setProjects(projects.value.projects, projects.value.figures);
    m_list->setSortArrow(-1, m_order);
    if (!projects.ok)
        m_editing->reportReadFailure(projects.failure);
}

void ProjectManager::search(const QString& text) {
    showProjects(Registers(m_session).projects(text));
}

void ProjectManager::removeSelected() {
    m_editing->removeSelected([this](qint64, int row) {
        const QString name = m_model->textAt(row, int(ProjectListModel::Column::Name));
        const QString question = QStringLiteral("Projekt '") + name + QStringLiteral("' löschen?          ");
        return m_dialogs.ask(this, QStringLiteral("Projekt löschen? "), question, Dialogs::Icon::Critical,
                             Dialogs::Answer::No) == Dialogs::Answer::Yes;
    });
}

void ProjectManager::requestLoad() {
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    emit projectLoadRequested(m_model->textAt(row, int(ProjectListModel::Column::ProjectNumber)),
                              m_model->textAt(row, int(ProjectListModel::Column::Name)));
}

qint64 ProjectManager::idAt(int row) const {
    return m_model->idAt(row);
}

Reading<std::optional<AsLoaded>> ProjectManager::loadIntoFields(qint64 id) {
    const auto loaded = Registers(m_session).projectForEditing(id);
    if (!loaded.ok || !loaded.value)
        return {std::nullopt, loaded.ok, loaded.failure};
    const Project& project = loaded.value->row.project;
    m_name->setText(project.name);
    if (project.startDay)
        m_start->setDate(DayNumber::toDate(*project.startDay));
    m_budget->setText(loaded.value->row.budget ? loaded.value->row.budget->toGerman() : QString());
    return {loaded.value->asLoaded};
}

Reading<bool> ProjectManager::exists(qint64 id) {
    const auto project = Registers(m_session).project(id);
    return {project.value.has_value(), project.ok, project.failure};
}

// Name copies of a project are matched by its number too, so no rename merges two projects' copies.
Reading<bool> ProjectManager::hasNamesake(qint64, const QString&) {
    return {false};
}

bool ProjectManager::sameName(const QString&, const QString&) const {
    return true;
}

QString ProjectManager::renameTitle() const {
    return QString();
}

QString ProjectManager::renameQuestion(const QString&) const {
    return QString();
}

bool ProjectManager::entryComplete() {
    if (m_budget->text().trimmed().isEmpty() || m_budget->amount())
        return true;
    m_dialogs.inform(
        this, QStringLiteral("Budget unvollständig"),
        QStringLiteral("„%1“ ist kein Betrag. Bitte geben Sie das Budget in Euro ein, zum Beispiel "
                       "1.250.000,00, oder lassen Sie das Feld leer.")
            .arg(m_budget->text()),
        Dialogs::Icon::Warning);
    m_budget->setFocus();
    return false;
}

Outcome ProjectManager::add() {
    return SaveProject(m_session).add(m_name->text(), DayNumber::fromDate(m_start->date()),
                                      m_budget->amount());
}

Outcome ProjectManager::store(qint64 id, const QString& oldName, const AsLoaded& loaded) {
    return SaveProject(m_session).change({id, m_name->text(), DayNumber::fromDate(m_start->date())}, oldName,
                                         m_budget->amount(), loaded);
}

Outcome ProjectManager::remove(qint64 id) {
    return RemoveProject(m_session).run(id);
}

void ProjectManager::clearFields() {
    m_name->clear();
    m_budget->clear();
}

void ProjectManager::refill() {
    EINLESEN();
}
