#pragma once

#include <memory>
#include <QString>
#include <QWidget>

class Database;
class Dialogs;
class MasterListView;
class ProjectListModel;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QToolButton;

// The project manager (frmProjekt): lists, searches, adds, changes and deletes projects and hands
// the chosen project to the workspace.
class ProjectManager : public QWidget {
    Q_OBJECT
public:
    ProjectManager(const QString& databasePath, Dialogs& dialogs, QWidget* parent = nullptr);
    ~ProjectManager() override;

    // False when the database file could not be opened (a German message was shown).
    bool hasDatabase() const;
    // Refills the project list from the database, newest start date first.
    void EINLESEN();

signals:
    void projectLoadRequested(const QString& projectId, const QString& projectName);
    void closeRequested();

private:
    void buildUi();
    void search(const QString& text);
    void save();
    void loadForEditing();
    void removeSelected();
    void requestLoad();

    Dialogs& m_dialogs;
    std::unique_ptr<Database> m_db;
    ProjectListModel* m_model = nullptr;
    QLineEdit* m_name = nullptr;
    QDateEdit* m_start = nullptr;
    QLineEdit* m_search = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_loadProject = nullptr;
    QToolButton* m_quit = nullptr;
    MasterListView* m_list = nullptr;

    bool m_editMode = false;
    qint64 m_editId = 0;
    QString m_oldName;
};
