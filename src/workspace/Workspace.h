#pragma once

#include "ListSnapshot.h"
#include "WorkspaceContext.h"

#include <memory>
#include <QWidget>

class BookingListTab;
class ChartsTab;
class CompanyTab;
class CostReportTab;
class ChangeWatch;
class Session;
class FollowedLists;
class Dialogs;
class EntryTab;
class EvaluationTab;
class QLabel;
class QStatusBar;
class QTabWidget;
class QToolButton;
class Settings;
class UnreadableAmountsNotice;

// The workspace (frmAusgabe): the window of one project with its six tabs, its toolbar and picture
// buttons and its status bar. It owns the project's database connection and keeps its geometry, the
// booking list's column widths and "Alle Firmen anzeigen" in the settings.
class Workspace : public QWidget {
    Q_OBJECT
public:
    enum Tab {
        EntryTabIndex,
        BookingsTabIndex,
        CompanyTabIndex,
        EvaluationTabIndex,
        CostReportTabIndex,
        ChartsTabIndex
    };

    Workspace(Session& session, Dialogs& dialogs, Settings& settings, QWidget* parent = nullptr);
    ~Workspace() override;

    // Sets the project; the lists are filled for it at the next activation.
    void setProject(const QString& projectId, const QString& projectName);
    QString projectId() const { return m_context ? m_context->projectId : QString(); }
    // True after "Beenden": the whole program ends with the workspace.
    bool quitRequested() const { return m_quit; }
    int currentTab() const;
    // What the current tab's list shows, for printing and export.
    ListSnapshot snapshot() const;
    // The same after the list was read afresh, keeping what the user sees of it (sort, selection), as
    // printing and export take it; unreadable when the read failed (the user was told).
    ListSnapshot freshSnapshot();

    void EINLESEN();
    // Refills the pickers and the lists of the tab shown after other workstations changed the data.
    void followChanges();
    void List2Fuellen();
    void AusWertung();
    void KostenberichtEinlesen();
    void combo7_3Einlesen();
    void combo5_4Einlesen();

signals:
    void printRequested();
    void exportRequested();
    // The change journal of the project, asked for from the booking list.
    void journalRequested(const QString& projectId);
    // "Auszahlungsanordnung drucken" on the booking list: the orders to print.
    void paymentOrderPrintRequested(const ListSnapshot& orders);
    // "Anordnungen" from the booking list: the bookings of all projects waiting for sign-off.
    void signOffsRequested();
    // "Fälligkeiten" from the booking list: the project's invoices waiting for payment.
    void dueRequested(const QString& projectId, const QString& projectName);
    // The workspace is closing; quit tells whether the program ends with it, else the project manager
    // shows again.
    void closing(bool quit);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // An e-invoice file dropped onto the workspace is read as by "E-Rechnung einlesen …".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The filter pickers are filled now when their tab is in view, else when it is next shown.
    void refillPickersWhenInView();
    void fillPickersIfDue();
    void fillPickers();
    void buildUi();
    QWidget* buildToolbar();
    void restoreSettings();
    void saveSettings();
    void showTab(int tab);
    void afterBookingChange(const QString& company);
    void takeBack(qint64 bookingId);
    void remove(qint64 bookingId);
    // Asks what becomes of a booking that waits in the entry fields; false when it stays waiting (its
    // correction could not be booked, or the user cancelled).
    bool settleWaitingBooking();
    void showCount(const QString& text);
    void allCompaniesToggled(bool all);

    Dialogs& m_dialogs;
    Settings& m_settings;
    // Tells of changes at other workstations; goes before the database.
    ChangeWatch* m_watch = nullptr;
    FollowedLists* m_lists = nullptr;
    std::unique_ptr<WorkspaceContext> m_context;
    bool m_quit = false;
    bool m_closed = false;
    bool m_lostToOwnDialog = false;
    // The project was set or its data changed since the last activation filled the pickers.
    bool m_refillOnActivation = false;
    // The pickers were refilled after the change that asks for the next activation's refill.
    bool m_pickersFollowed = false;
    // The filter pickers of the company and evaluation tabs are to be refilled when next in view.
    bool m_pickersDue = false;
    // An activation refilled the pickers while the evaluation was out of view.
    bool m_evaluationToRefresh = false;
    // No geometry was stored: the first show sizes the window to its lists.
    bool m_sizeToLists = false;
    QLabel* m_projectName = nullptr;
    QTabWidget* m_tabs = nullptr;
    EntryTab* m_entry = nullptr;
    BookingListTab* m_bookings = nullptr;
    CompanyTab* m_company = nullptr;
    EvaluationTab* m_evaluation = nullptr;
    CostReportTab* m_costReport = nullptr;
    ChartsTab* m_charts = nullptr;
    QStatusBar* m_status = nullptr;
    QLabel* m_count = nullptr;
    UnreadableAmountsNotice* m_unreadable = nullptr;
};
