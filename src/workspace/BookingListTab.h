#pragma once

#include "ListSnapshot.h"
#include "Money.h"
#include "SignOffReading.h"

#include <QWidget>

class BookingListModel;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class FittedColumns;
class ReportListView;
struct WorkspaceContext;

// The workspace's tab " Zelvora ": the project's bookings with their total and state on the way to
// payment, the buttons to refresh, to take a booking back for correction and to delete one, and the
// steps of the sign-off on the selected booking in its context menu.
class BookingListTab : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStoredWidthsRead = 10;
    static constexpr int kStoredWidthsWritten = 11;

    BookingListTab(WorkspaceContext& context, QWidget* parent = nullptr);

    // Refills the list from the file, leaving out a booking that waits in the entry fields. False when
    // the file could not be read (the German message was shown): the list keeps its rows and total,
    // marked as not current.
    bool EINLESEN();
    Money total() const { return m_total; }
    int count() const;
    // The ID of the selected row's booking, or 0 when none is selected.
    qint64 selectedBookingId() const;
    QString selectedRunningNumber() const;
    QString selectedCompany() const;

    QList<int> columnWidthsInTwips(int count) const;
    void setColumnWidthsInTwips(const QList<int>& widths);
    // The columns' widths were given or set by the user, and are kept in the settings; else they fit
    // themselves to their texts.
    bool columnsSizedByUser() const;
    ListSnapshot snapshot() const;

signals:
    void refreshRequested();
    void takeBackRequested(qint64 bookingId);
    void deleteRequested(qint64 bookingId);
    // "Änderungsprotokoll des Projekts" from the list's context menu.
    void journalRequested();
    // A step of the sign-off changed the booking's state; a storno added its counter-booking.
    void signedOff(const QString& company);
    // "Auszahlungsanordnung drucken": the order of the selected booking.
    void paymentOrderRequested(const ListSnapshot& orders);
    // "Anordnungen …": the bookings of all projects waiting for sign-off.
    void signOffsRequested();
    // "Fälligkeiten …": the project's invoices waiting for payment.
    void dueRequested();
    // The list was refilled: the count and total to show.
    void refilled(int count, Money total);

private:
    void sortByHeading(int column);
    void showInvoice(qint64 bookingId);
    void saveInvoice(qint64 bookingId);
    // The selected row's booking ID, or 0 after telling the user to select one.
    qint64 selectedBookingIdOrSay();
    QAction* addSignOffAction(const QString& name, const QString& caption);
    // Enables the actions on the selected booking that its state and the login allow, the others with
    // the reason as tooltip.
    void updateActions();
    void signOff(SignOffReading::Step step);
    void cancelSelected();
    void markSelectedPaid();
    void printPaymentOrder();

    WorkspaceContext& m_context;
    BookingListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    FittedColumns* m_fit = nullptr;
    QLineEdit* m_totalField = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_takeBack = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_showInvoice = nullptr;
    QPushButton* m_saveInvoice = nullptr;
    QAction* m_confirm = nullptr;
    QAction* m_ordering = nullptr;
    QAction* m_cancel = nullptr;
    QAction* m_paid = nullptr;
    QAction* m_printOrder = nullptr;
    SignOffReading::Viewer m_viewer;
    Money m_total;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};
