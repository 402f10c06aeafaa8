#pragma once

#include "ListSnapshot.h"

#include <QPointer>
#include <QWidget>

class ChangeWatch;
class Dialogs;
class ExportScreen;
class QComboBox;
class QLabel;
class QPushButton;
class ReportListView;
class SecurityListModel;
class Session;

// "Sicherheiten" (frmSicherheiten) of one project: per company and kind what the order agrees, what was
// retained in cash and each guarantee with its days, all of them or only those due back ("Rückgabe fällig")
// or missing ("Sicherheit fehlt"). Guarantees are added, changed and removed here, and a retention is
// released by a booking of its own. Printed and exported like the other lists; follows the changes of other
// workstations.
class SecuritiesScreen : public QWidget {
    Q_OBJECT
public:
    enum class Filter { All, ReturnDue, Missing };

    SecuritiesScreen(Session& session, Dialogs& dialogs, const QString& projectId, const QString& projectName,
                     QWidget* parent = nullptr);
    ~SecuritiesScreen() override;

    // Reads the securities afresh, today's day deciding what is due; false when they could not be read
    // (the user was told).
    bool refill();
    void setToday(int day);
    ListSnapshot snapshot() const;

signals:
    void printRequested();
    // A release was booked: the workspace's lists change.
    void released();

private:
    void buildUi();
    int selectedRowOrSay();
    void addGuarantee();
    void editSelected();
    void removeSelected();
    void releaseSelected();
    void openExport();
    // A click on a heading sorts by its column; a second click on the same heading reverses the order.
    void sortByHeading(int column);

    Session& m_session;
    Dialogs& m_dialogs;
    QString m_projectId;
    QString m_projectName;
    int m_today;
    ChangeWatch* m_watch = nullptr;
    QComboBox* m_filter = nullptr;
    SecurityListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QLabel* m_count = nullptr;
    int m_sortHeading = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QPointer<ExportScreen> m_exportScreen;
};
