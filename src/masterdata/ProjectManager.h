#pragma once

#include "EditSession.h"
#include "Registers.h"

#include <memory>
#include <QString>
#include <QWidget>

class ChangeWatch;
class Session;
class AmountField;
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

    // Refills the project list from the database, newest start date first.
    void EINLESEN();

signals:
    void projectLoadRequested(const QString& projectId, const QString& projectName);
    void closeRequested();

private:
    void buildUi();
    // Disables what the login lacks the right for.
    void mirrorRights();
    void search(const QString& text);
    void removeSelected();
    void requestLoad();
    // Shows the projects with their budget figures; says so when they could not be read.
    void showProjects(const Reading<Registers::ProjectList>& projects);

    qint64 idAt(int row) const override;
    Reading<std::optional<AsLoaded>> loadIntoFields(qint64 id) override;
    Reading<bool> exists(qint64 id) override;
    Reading<bool> hasNamesake(qint64 id, const QString& newName) override;
    bool sameName(const QString& oldName, const QString& newName) const override;
    QString renameTitle() const override;
    QString renameQuestion(const QString& newName) const override;
    bool entryComplete() override;
    Outcome add() override;
    Outcome store(qint64 id, const QString& oldName, const AsLoaded& loaded) override;
    Outcome remove(qint64 id) override;
    void clearFields() override;
    void refill() override;

    Session& m_session;
    Dialogs& m_dialogs;
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
