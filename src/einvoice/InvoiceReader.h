#pragma once

#include "Invoice.h"

#include <optional>
#include <QByteArray>
#include <QString>

// Reads an electronic invoice: XRechnung as UBL Invoice or CreditNote, or as UN/CEFACT Cross Industry
// Invoice, recognised by namespace and root element whatever the prefixes; a PDF (ZUGFeRD, Factur-X)
// by the invoice XML embedded in it. A file that is too large, not XML, no invoice, malformed, cut
// short, or declares a DTD or entities (no entity is ever expanded) is refused with a German reason.
class InvoiceReader {
public:
    static constexpr qint64 kMaxBytes = 20 * 1024 * 1024;
    // Deeper nesting than any invoice has is refused before it costs memory.
    static constexpr int kMaxDepth = 64;

    enum class Refusal {
        None,
        TooLarge,
        NotXml,
        NotAnInvoice,
        Malformed,
        Truncated,
        Declarations,
        TooDeep,
        BrokenPdf,
        PdfWithoutInvoice
    };
    struct Result {
        std::optional<Invoice> invoice;
        Refusal refusal = Refusal::None;
        // Why the file was refused, in German.
        QString reason;
    };

    // An XML or PDF file's bytes.
    static Result read(const QByteArray& bytes);
    static Result readXml(const QByteArray& bytes);
    static Result readPdf(const QByteArray& bytes);
    // Why a file of this size is refused.
    static QString tooLarge(qint64 bytes);
    // The names the invoice XML is embedded under in a PDF, tried first in this order.
    static QStringList embeddedNames();
};
