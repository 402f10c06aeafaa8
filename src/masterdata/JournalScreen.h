#pragma once

#include "ListSnapshot.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class ChangeWatch;
class Dialogs;
class ExportScreen;
class JournalListModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ReportListView;
class Session;

// The change journal (frmProtokoll): the journal's entries filtered by project, table, user, period and
// a search text, one line per changed field with its old and new value; the check of the chain, the
// restore of a deletion, print and export of the list.
class JournalScreen : public QWidget {
    Q_OBJECT
public:
    // Shows the entries of project (its number), of all projects for an empty one.
    JournalScreen(Session& session, Dialogs& dialogs, const QString& projectId = QString(),
                  QWidget* parent = nullptr);
    ~JournalScreen() override;

    // Shows the entries of one project (its number), of all projects for an empty one.
    void setProject(const QString& projectId);
    // Reads the entries the filter lets through afresh; false when they could not be read (the user was
    // told, the list keeps its lines marked as not current).
    bool refill();
    // "Protokoll prüfen": checks the chain and tells the result.
    void checkChain();
    // "Wiederherstellen": restores the deletion of the selected line's entry.
    void restoreSelected();
    // The list as shown, for print and export.
    ListSnapshot snapshot() const;
    // The filter in words, as print and export head the list with it.
    QString filterText() const;

signals:
    void printRequested();

private:
    void buildUi();
    void fillProjects();
    // Fills the pickers of tables and users with those of the project chosen, keeping the choice.
    void fillPickers();
    void updateRestore();
    void sortByHeading(int column);
    void openExport();

    Session& m_session;
    Dialogs& m_dialogs;
    ChangeWatch* m_watch = nullptr;
    JournalListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QComboBox* m_project = nullptr;
    QComboBox* m_table = nullptr;
    QComboBox* m_user = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QLineEdit* m_text = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_check = nullptr;
    QPushButton* m_restore = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
    QPointer<ExportScreen> m_exportScreen;
    int m_sortColumn = -1;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};
