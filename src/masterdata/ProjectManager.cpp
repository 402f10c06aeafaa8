#include "ProjectManager.h"

#include "Database.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "MasterListView.h"
#include "NameCascade.h"
#include "ProjectListModel.h"
#include "ProjectRepository.h"
#include "Twips.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString writeFailedTitle = QStringLiteral("Speichern nicht möglich");
const QString readFailedTitle = QStringLiteral("Lesefehler");
} // namespace

ProjectManager::ProjectManager(const QString& databasePath, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmProjekt"));
    setWindowTitle(QStringLiteral("Projektmanager"));
    buildUi();
    // The list's columns want a wide window; a smaller screen gets a window that still fits on it.
    resize(Twips::toPixels(19600, 9000, *this).boundedTo(screen()->availableGeometry().size()));

    QString message;
    m_db = Database::open(databasePath, nullptr, &message);
    if (!m_db) {
        for (QWidget* action :
             {static_cast<QWidget*>(m_add), static_cast<QWidget*>(m_edit), static_cast<QWidget*>(m_delete),
              static_cast<QWidget*>(m_loadProject), static_cast<QWidget*>(m_search)})
            action->setEnabled(false);
        m_dialogs.inform(this, QStringLiteral("Ladefehler!"), message, Dialogs::Icon::Critical);
        return;
    }
    EINLESEN();
}

ProjectManager::~ProjectManager() = default;

bool ProjectManager::hasDatabase() const {
    return m_db != nullptr;
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

    m_list = new MasterListView(QStringLiteral("lvwProjekte"), this);
    m_model = new ProjectListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({2011, 8890, 2011, 6068});

    auto* entry = new QGridLayout;
    entry->addWidget(nameLabel, 0, 0);
    entry->addWidget(m_name, 1, 0);
    entry->addWidget(startLabel, 0, 1);
    entry->addWidget(m_start, 1, 1);
    entry->setColumnStretch(0, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_add, m_edit, m_delete, m_loadProject})
        buttons->addWidget(button);
    buttons->addStretch();

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
    setTabOrder(m_start, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_delete);
    setTabOrder(m_delete, m_loadProject);
    setTabOrder(m_loadProject, m_search);
    setTabOrder(m_search, m_list);
    setTabOrder(m_list, m_quit);

    connect(m_add, &QPushButton::clicked, this, &ProjectManager::save);
    connect(m_edit, &QPushButton::clicked, this, &ProjectManager::loadForEditing);
    connect(m_delete, &QPushButton::clicked, this, &ProjectManager::removeSelected);
    connect(m_loadProject, &QPushButton::clicked, this, &ProjectManager::requestLoad);
    connect(m_list, &QTreeView::doubleClicked, this, &ProjectManager::requestLoad);
    connect(m_search, &QLineEdit::textChanged, this, &ProjectManager::search);
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
    m_model->setProjects(projects);
    if (!ok)
        m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
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
    m_model->setProjects(projects);
    if (!ok)
        m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
}

void ProjectManager::save() {
    if (!m_db || m_name->text().isEmpty())
        return;
    ProjectRepository projects(*m_db);
    const int startDay = DayNumber::fromDate(m_start->date());
    if (m_editMode) {
        bool ok = true;
        if (!projects.find(m_editId, &ok)) {
            if (!ok)
                m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
            return;
        }
        const Project changed{m_editId, m_name->text(), startDay};
        if (!NameCascade(*m_db).changeProject(changed, m_oldName)) {
            m_dialogs.inform(this, writeFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
            return;
        }
        m_editMode = false;
    } else if (!projects.add(m_name->text(), startDay)) {
        m_dialogs.inform(this, writeFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
        return;
    }
    m_name->clear();
    EINLESEN();
}

void ProjectManager::loadForEditing() {
    const int row = m_list->selectedRow();
    if (!m_db || row < 0)
        return;
    bool ok = true;
    const std::optional<Project> project = ProjectRepository(*m_db).find(m_model->idAt(row), &ok);
    if (!ok) {
        m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
        return;
    }
    if (!project) {
        m_editMode = false;
        return;
    }
    m_editMode = true;
    m_editId = project->id;
    m_name->setText(project->name);
    if (project->startDay)
        m_start->setDate(DayNumber::toDate(*project->startDay));
    m_oldName = m_name->text();
}

void ProjectManager::removeSelected() {
    const int row = m_list->selectedRow();
    if (!m_db || row < 0)
        return;
    ProjectRepository projects(*m_db);
    bool ok = true;
    const qint64 id = m_model->idAt(row);
    if (!projects.find(id, &ok)) {
        if (!ok)
            m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
        return;
    }
    const QString name = m_model->textAt(row, int(ProjectListModel::Column::Name));
    const QString question = QStringLiteral("Projekt '") + name + QStringLiteral("' löschen?          ");
    if (m_dialogs.ask(this, QStringLiteral("Projekt löschen? "), question, Dialogs::Icon::Critical,
                      Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return;
    if (!projects.remove(id))
        m_dialogs.inform(this, writeFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
    EINLESEN();
}

void ProjectManager::requestLoad() {
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    emit projectLoadRequested(m_model->textAt(row, int(ProjectListModel::Column::ProjectNumber)),
                              m_model->textAt(row, int(ProjectListModel::Column::Name)));
}
