#pragma once

#include "EditSession.h"
#include "Project.h"

#include <memory>
#include <QString>
#include <QWidget>

class ChangeWatch;
class Session;
class AmountField;
class Database;
class Dialogs;
class ReportListView;
class ProjectListModel;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QToolButton;

// The project manager (frmProjekt): lists, searches, adds, changes and deletes projects and hands
// the chosen project to the workspace.
class ProjectManager : public QWidget, private EditableRecords {
    Q_OBJECT
public:
    ProjectManager(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);
    ~ProjectManager() override;

    // False when the database file could not be opened (a German message was shown).
    // Refills the project list from the database, newest start date first.
    void EINLESEN();

signals:
    void projectLoadRequested(const QString& projectId, const QString& projectName);
    void closeRequested();

private:
    void buildUi();
    void search(const QString& text);
    void loadForEditing();
    void removeSelected();
    void requestLoad();
    void reportReadFailure();
    // Shows the projects with their budget figures; says so when these or the projects (ok false)
    // could not be read.
    void showProjects(const QList<Project>& projects, bool ok);

    Database* database() const override;
    std::optional<bool> loadIntoFields(qint64 id) override;
    std::optional<bool> exists(qint64 id) override;
    std::optional<bool> hasNamesake(qint64 id, const QString& newName) override;
    bool sameName(const QString& oldName, const QString& newName) const override;
    QString renameTitle() const override;
    QString renameQuestion(const QString& newName) const override;
    bool entryComplete() override;
    bool add() override;
    QString table() const override;
    std::optional<QString> stamp(qint64 id) override;
    bool store(qint64 id, const QString& oldName, const QString& loadedStamp) override;
    bool remove(qint64 id) override;
    void clearFields() override;
    void refill() override;

    Dialogs& m_dialogs;
    Database* m_db = nullptr;
    // Tells of changes at other workstations; goes before the database.
    ChangeWatch* m_watch = nullptr;
    ProjectListModel* m_model = nullptr;
    QLineEdit* m_name = nullptr;
    QDateEdit* m_start = nullptr;
    AmountField* m_budget = nullptr;
    QLineEdit* m_search = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_loadProject = nullptr;
    QToolButton* m_quit = nullptr;
    ReportListView* m_list = nullptr;
    EditSession* m_editing = nullptr;
    Qt::SortOrder m_order = Qt::DescendingOrder;
};
