#include "ProjectManager.h"

#include "AmountField.h"
#include "BudgetRepository.h"
#include "ChangeWatch.h"
#include "Database.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "FollowedLists.h"
#include "NameCascade.h"
#include "ProjectListModel.h"
#include "ProjectRepository.h"
#include "ReportListView.h"
#include "Session.h"
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
    : QWidget(parent, Qt::Window), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmProjekt"));
    setWindowTitle(QStringLiteral("Projektmanager"));
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(19600, 9000, *this));

    m_db = &session.database();
    EINLESEN();
    m_watch = session.watch(this);
    auto* lists = new FollowedLists(
        *this, [this] { search(m_search->text()); }, [this] { m_watch->check(); });
    connect(m_watch, &ChangeWatch::changed, lists, &FollowedLists::refillKeepingView);
    connect(m_watch, &ChangeWatch::followingChanged, lists, &FollowedLists::setFollowing);
    lists->setFollowing(m_watch->isFollowing());
}

ProjectManager::~ProjectManager() = default;

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
    m_quit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
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

    m_editing = new EditSession(*this, *this, *m_name, *m_add, *this, m_dialogs);
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
    connect(m_edit, &QPushButton::clicked, this, &ProjectManager::loadForEditing);
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
    if (!m_db)
        return;
    bool ok = true;
    const QList<Project> projects = ProjectRepository(*m_db).newestFirst(&ok);
    showProjects(projects, ok);
}

void ProjectManager::showProjects(const QList<Project>& projects, bool ok) {
    BudgetRepository budgets(*m_db);
    bool budgetsOk = true;
    bool sumsOk = true;
    const QHash<qint64, Money> budget = budgets.all(&budgetsOk);
    const QHash<QString, BudgetRepository::Sums> sums = budgets.sumsByProject(&sumsOk);
    QHash<qint64, BudgetFigures> figures;
    figures.reserve(projects.size());
    for (const Project& project : projects) {
        const BudgetRepository::Sums sum = sums.value(QString::number(project.id));
        figures.insert(
            project.id,
            {budget.contains(project.id) ? std::optional<Money>(budget.value(project.id)) : std::nullopt,
             sum.paid, sum.committed});
    }
    ok = ok && budgetsOk && sumsOk;
    m_model->setProjects(projects, figures);
    m_list->setSortArrow(-1, m_order);
    if (!ok)
        reportReadFailure();
}

void ProjectManager::search(const QString& text) {
    if (!m_db)
        return;
    if (text.isEmpty()) {
        EINLESEN();
        return;
    }
    bool ok = true;
    const QList<Project> projects = ProjectRepository(*m_db).search(text, &ok);
    showProjects(projects, ok);
}

void ProjectManager::reportReadFailure() {
    m_editing->reportReadFailure();
}

void ProjectManager::loadForEditing() {
    const int row = m_list->selectedRow();
    if (row >= 0)
        m_editing->load(m_model->idAt(row));
}

void ProjectManager::removeSelected() {
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    const QString name = m_model->textAt(row, int(ProjectListModel::Column::Name));
    m_editing->remove(m_model->idAt(row), [this, &name] {
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

Database* ProjectManager::database() const {
    return m_db;
}

std::optional<bool> ProjectManager::loadIntoFields(qint64 id) {
    bool ok = true;
    const std::optional<Project> project = ProjectRepository(*m_db).find(id, &ok);
    if (!ok)
        return std::nullopt;
    if (!project)
        return false;
    bool budgetOk = true;
    const std::optional<Money> budget = BudgetRepository(*m_db).find(id, &budgetOk);
    if (!budgetOk)
        return std::nullopt;
    m_name->setText(project->name);
    if (project->startDay)
        m_start->setDate(DayNumber::toDate(*project->startDay));
    m_budget->setText(budget ? budget->toGerman() : QString());
    return true;
}

std::optional<bool> ProjectManager::exists(qint64 id) {
    bool ok = true;
    const bool found = ProjectRepository(*m_db).find(id, &ok).has_value();
    return ok ? std::optional<bool>(found) : std::nullopt;
}

// Name copies of a project are matched by its number too, so no rename merges two projects' copies.
std::optional<bool> ProjectManager::hasNamesake(qint64, const QString&) {
    return false;
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

bool ProjectManager::add() {
    return ProjectRepository(*m_db)
        .add(m_name->text(), DayNumber::fromDate(m_start->date()), m_budget->amount())
        .has_value();
}

std::optional<QString> ProjectManager::stamp(qint64 id) {
    return ProjectRepository(*m_db).stamp(id);
}

QString ProjectManager::table() const {
    return QStringLiteral("tblProjekt");
}

bool ProjectManager::store(qint64 id, const QString& oldName, const QString& loadedStamp) {
    return NameCascade(*m_db, loadedStamp)
        .changeProject({id, m_name->text(), DayNumber::fromDate(m_start->date())}, oldName,
                       m_budget->amount());
}

bool ProjectManager::remove(qint64 id) {
    return ProjectRepository(*m_db).remove(id);
}

void ProjectManager::clearFields() {
    m_name->clear();
    m_budget->clear();
}

void ProjectManager::refill() {
    EINLESEN();
}
