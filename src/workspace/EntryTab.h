#pragma once

#include "Booking.h"
#include "CorrectionTexts.h"
#include "InvoiceIntake.h"
#include "PaymentPanel.h"

#include <memory>
#include <optional>
#include <QStringList>
#include <QWidget>

class AmountField;
class CompanyPicker;
class DateField;
class InvoiceView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct WorkspaceContext;

// The workspace's tab "Eingabe": the company picker with its search and the company's details, and the
// entry of one booking, booked with "&Buchen". A booking taken back for correction waits here until its
// corrected entry is booked, which replaces it.
class EntryTab : public QWidget {
    Q_OBJECT
public:
    // The kinds of payment offered: an empty entry, "Schlußzahlung", "Rückhalt" and thirty instalments.
    static QStringList paymentKinds();

    EntryTab(WorkspaceContext& context, QWidget* parent = nullptr);

    // Lists every company of the register, with an empty entry first, and shows their count.
    void fillCompanies();
    // The company picker's companies as listed now (the empty entry included when there is one).
    QStringList companies() const;
    QString company() const;
    // Chooses the company in the picker, showing its details; false when it is not listed.
    bool chooseCompany(const QString& name);

    // "&Buchen". True when the entry was booked.
    bool book();
    // Puts a booking into the entry fields, where it waits for its correction to be booked.
    // loaded: the booking as stored when it was taken back.
    void takeBack(const Booking& booking, const AsLoaded& loaded);
    bool hasWaitingBooking() const;
    // A correction is shown: of a booking waiting, or of one that another workstation removed meanwhile.
    bool isCorrecting() const;
    // "Korrektur abbrechen" (Escape): ends the correction and empties the entry.
    void cancelCorrection();
    // Tells again in the banner what became of the booking corrected (after other workstations' changes).
    void checkCorrection();
    // Something typed or taken from an e-invoice that is not booked yet.
    bool hasUnbookedEntry() const;
    // Asks what becomes of a booking waiting for its correction; false when it stays waiting (its
    // correction could not be booked, or the clerk cancelled).
    bool settleWaitingBooking();
    // Before the project is left: the waiting booking, then an entry not booked; false to stay.
    bool settleBeforeLeaving();

    // "E-Rechnung einlesen …": reads an e-invoice file and shows it; its "Buchen" fills the entry fields,
    // and the original is stored with the booking. Null when the file was refused (and the clerk told).
    InvoiceView* openInvoice(const QString& path);

protected:
    // Enter in a field of the booking or on "&Buchen" books, as Enter saves in the master-data screens;
    // Enter in the search field does not.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

signals:
    // A booking was stored for company (new, or replacing the one taken back).
    void booked(const QString& company);
    // A correction ended without a booking: the lists show the booking as stored again.
    void correctionEnded();
    // The user chose a company in the picker.
    void companyChosen(const QString& company);
    // The search listed these companies (no empty entry).
    void companiesFound(const QStringList& companies);

private:
    QWidget* buildCompanyBox();
    QWidget* buildBookingBox();
    void search(const QString& text);
    void showCompany(const QString& name);
    void clearDetails();
    void setCompanies(const QStringList& names);
    using Original = CorrectionTexts::Original;
    void endCorrection();
    void clearEntry();
    // Read from the file; nullopt when it cannot be read.
    std::optional<Original> waitingOriginal() const;
    void showCorrection(Original original);
    void showOriginalGone();
    // Tells what is missing and puts the focus on the field to fill.
    void reportIncomplete(const QString& detail, QWidget* missing);
    // Puts the current state of the waiting booking into the fields, after another workstation
    // changed it.
    void reloadWaitingBooking();
    void chooseInvoiceFile();
    void takeInvoice(const InvoiceIntake::Opened& opened);
    void showPendingInvoice();
    PaymentPanel::Entry paymentEntry() const;

    WorkspaceContext& m_context;
    QLineEdit* m_search = nullptr;
    CompanyPicker* m_company = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_seat = nullptr;
    QLabel* m_contact = nullptr;
    QLineEdit* m_trade = nullptr;
    QLineEdit* m_costGroup = nullptr;
    DateField* m_instructedOn = nullptr;
    DateField* m_invoiceDate = nullptr;
    QLineEdit* m_invoiceNumber = nullptr;
    QComboBox* m_paymentKind = nullptr;
    QLineEdit* m_remarks = nullptr;
    AmountField* m_amount = nullptr;
    QPushButton* m_book = nullptr;
    QLabel* m_waitingNotice = nullptr;
    QPushButton* m_cancelCorrection = nullptr;
    QPushButton* m_readInvoice = nullptr;
    QLabel* m_invoiceNotice = nullptr;
    PaymentPanel* m_payment = nullptr;
    std::unique_ptr<InvoiceIntake> m_invoices;
    bool m_shown = false;
    // The company of the booking taken back when it is no longer in the register.
    QString m_companyOutsideRegister;
    // The running number of the booking corrected, as shown; and whether it was removed meanwhile.
    QString m_correctedNumber;
    bool m_originalGone = false;
};
