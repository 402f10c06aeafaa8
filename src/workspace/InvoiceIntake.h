#pragma once

#include "BookingOperation.h"
#include "Company.h"
#include "Invoice.h"
#include "InvoicePresentation.h"
#include "Money.h"

#include <optional>
#include <QByteArray>
#include <QDate>
#include <QString>

class QWidget;
struct WorkspaceContext;

// Takes an e-invoice from its file to the entry fields and keeps its original with the booking: reads
// it (a refusal is told in German), finds the company it is from, warns of an invoice booked before,
// and proposes the entry; the booking stores the original in its own transaction.
class InvoiceIntake {
public:
    // An invoice file read.
    struct Opened {
        Invoice invoice;
        QByteArray bytes;
        QString fileName;
    };
    // What the entry fields get from an invoice.
    struct Entry {
        QString company;
        QDate invoiceDate;
        QString invoiceNumber;
        Money amount;
        QString paymentKind;
        QString remarks;
    };

    explicit InvoiceIntake(WorkspaceContext& context) : m_context(context) {}

    // Reads the file; nullopt after telling the clerk why it is refused.
    std::optional<Opened> open(const QString& path, QWidget* parent);
    // The company of the register the invoice is from: by the VAT number remembered from an earlier
    // invoice, then by name ignoring letter case.
    std::optional<Company> matchingCompany(const Invoice& invoice) const;
    // The invoice's own checks, and warnings of a booking of the same invoice: its number booked for the
    // company in the project, or the same file stored before.
    QList<InvoicePresentation::Check> checks(const Opened& opened) const;
    // The entry the invoice proposes, after the clerk has dealt with a duplicate, a company not found
    // (picked from the register, or created from the seller's data) and a foreign currency; nullopt when
    // the clerk stops or the invoice cannot be booked. Keeps the invoice for the next booking.
    std::optional<Entry> prepare(const Opened& opened, QWidget* parent);
    // The kind of payment the invoice type proposes for the company: a final invoice "Schlußzahlung", a
    // partial one the company's next "n. Abschlagszahlung" in the project; else empty.
    QString paymentKindFor(const Invoice& invoice, const QString& company) const;

    // The invoice waiting to be booked, or null.
    const Opened* pending() const { return m_pending ? &*m_pending : nullptr; }
    void forget();
    // The original of the invoice waiting, as the booking stores it; null when none waits.
    const BookingOperation::InvoiceOriginal* original() const { return m_original ? &*m_original : nullptr; }
    // The invoice number of the invoice waiting when the clerk was asked already whether it was booked
    // before; empty otherwise.
    QString askedInvoiceNumber() const { return m_askedInvoiceNumber; }

private:
    QString duplicateWarning(const Opened& opened, const QString& company) const;
    std::optional<QString> chooseCompany(const Invoice& invoice, QWidget* parent);
    // The trade and cost group of a company about to be created, or an empty list when the clerk stops.
    QStringList chooseTradeAndCostGroup(const QString& company, QWidget* parent);
    // Whether the clerk takes the invoice over when it asks to be paid into an account not stored for the
    // company (PayeeAccountCheck); true when it names none or only stored ones.
    bool payeeAccountConfirmed(const Invoice& invoice, const QString& company, QWidget* parent);

    WorkspaceContext& m_context;
    std::optional<Opened> m_pending;
    std::optional<BookingOperation::InvoiceOriginal> m_original;
    QString m_askedInvoiceNumber;
};
