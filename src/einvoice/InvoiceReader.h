#pragma once

#include "Invoice.h"

#include <optional>
#include <QByteArray>
#include <QString>

// Reads an electronic invoice: XRechnung as UBL Invoice or CreditNote, or as UN/CEFACT Cross Industry
// Invoice, recognised by namespace and root element whatever the prefixes; a PDF (ZUGFeRD, Factur-X)
// by the invoice XML embedded in it. A file that is too large, not XML, no invoice, malformed, cut
// short, wrongly encoded, or declares a DTD or entities (no entity is ever expanded) is refused with a
// German reason; so is a file whose reading runs out of memory.
class InvoiceReader {
public:
    static constexpr qint64 kMaxBytes = 20 * 1024 * 1024;
    // Deeper nesting than any invoice has is refused before it costs memory.
    static constexpr int kMaxDepth = 64;
    // The most attachments of a PDF read in search of the invoice.
    static constexpr int kMaxAttachments = 20;

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
        PdfWithoutInvoice,
        Encoding,
        OutOfMemory
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
    // Why a file is refused when the memory to read it runs out.
    static QString outOfMemory();
    // Why a file of this size is refused.
    static QString tooLarge(qint64 bytes);
    // The names the invoice XML is embedded under in a PDF, tried first in this order.
    static QStringList embeddedNames();

private:
    static Result parseXml(const QByteArray& bytes);
    static Result readAttachments(const QByteArray& bytes);
};
