#pragma once

#include "ListSnapshot.h"
#include "SignOffReading.h"

#include <QPointer>
#include <QWidget>

class ChangeWatch;
class Dialogs;
class ExportScreen;
class QLabel;
class QPushButton;
class ReportListView;
class Session;
class Settings;
class SignOffListModel;

// "Anordnungen" (frmAnordnungen): every booking across projects that waits for the login's next step of
// the sign-off, sortable by each column; the rows chosen are confirmed or ordered in one step, and the
// payment orders of the rows just ordered can be printed. Follows the changes of other workstations.
class SignOffScreen : public QWidget {
    Q_OBJECT
public:
    SignOffScreen(Session& session, Dialogs& dialogs, Settings& settings, QWidget* parent = nullptr);
    ~SignOffScreen() override;

    // Reads the waiting bookings afresh; false when they could not be read (the user was told).
    bool refill();
    // "Feststellen" and "Anordnen" on the rows chosen, all of them in one step.
    void confirmChosen();
    void orderChosen();
    ListSnapshot snapshot() const;

signals:
    void printRequested();
    void paymentOrderPrintRequested(const ListSnapshot& orders);

private:
    void buildUi();
    QList<int> chosenRows() const;
    // Enables "Feststellen" and "Anordnen" when every chosen row allows it, else names the reason.
    void updateButtons();
    void sortByHeading(int column);
    void openExport();
    void offerPaymentOrders(const QList<SignOffReading::Waiting>& ordered);

    Session& m_session;
    Dialogs& m_dialogs;
    Settings& m_settings;
    ChangeWatch* m_watch = nullptr;
    SignOffReading::Viewer m_viewer;
    SignOffListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QLabel* m_login = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_confirm = nullptr;
    QPushButton* m_order = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
    QPointer<ExportScreen> m_exportScreen;
    int m_sortHeading = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
