#pragma once

#include "ListSnapshot.h"
#include "PaymentRules.h"

#include <optional>
#include <QPointer>
#include <QWidget>

class ChangeWatch;
class Dialogs;
class DueListModel;
class ExportScreen;
class QComboBox;
class QLabel;
class QPushButton;
class ReportListView;
class Session;

// "Fälligkeiten" (frmFaelligkeiten): the received invoices not yet paid, of every project or of one, by
// due day, with the discount's last day and amount and the interest a late payment owes; late rows in
// red. A period keeps those due in the next 7, 14 or 30 days (the late ones always). Printed and exported
// as shown; follows the changes of other workstations.
class DueScreen : public QWidget {
    Q_OBJECT
public:
    DueScreen(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);
    ~DueScreen() override;

    // The project whose invoices are shown (refilled when it changes); empty: every project.
    void setProject(const QString& projectId, const QString& projectName);
    // The day the list is computed for; today's date unless set.
    void setToday(int day);
    // Reads the open invoices afresh; false when they could not be read (the user was told).
    bool refill();
    ListSnapshot snapshot() const;

signals:
    void printRequested();

private:
    void buildUi();
    std::optional<int> period() const;
    void sortByHeading(int column);
    void openExport();
    QString projectText() const;

    Session& m_session;
    Dialogs& m_dialogs;
    ChangeWatch* m_watch = nullptr;
    QString m_projectId;
    QString m_projectName;
    int m_today = 0;
    BaseRate m_rate;
    DueListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QLabel* m_project = nullptr;
    QLabel* m_rateLine = nullptr;
    QComboBox* m_period = nullptr;
    QLabel* m_count = nullptr;
    QPointer<ExportScreen> m_exportScreen;
    int m_sortHeading = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
