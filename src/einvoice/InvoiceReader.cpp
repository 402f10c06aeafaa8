#include "InvoiceReader.h"

#include "InvoiceSyntax.h"
#include "PdfAttachments.h"
#include "XmlSource.h"

#include <algorithm>
#include <QBuffer>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

const QString kUblInvoice = QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:Invoice-2");
const QString kUblCreditNote = QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:CreditNote-2");
const QString kCii = QStringLiteral("urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100");

InvoiceReader::Result refused(InvoiceReader::Refusal refusal, const QString& reason) {
    return {std::nullopt, refusal, reason};
}

QDate dateOf(const QString& text) {
    const QString trimmed = text.trimmed();
    QDate date = QDate::fromString(trimmed, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date : QDate::fromString(trimmed, QStringLiteral("yyyyMMdd"));
}

// Reads the elements below the recognised root into the invoice.
class TermReader {
public:
    TermReader(QXmlStreamReader& xml, const InvoiceSyntax& syntax, Invoice& invoice)
        : m_xml(xml), m_syntax(syntax), m_invoice(invoice) {}

    // Called for each element below the root, with the path below the root.
    void start(const QString& path) {
        m_text.clear();
        if (path == m_syntax.vatPath)
            m_invoice.vat.append(InvoiceVat{});
        else if (path == m_syntax.accountPath)
            m_invoice.accounts.append(InvoiceAccount{});
        else if (m_syntax.linePaths.contains(path)) {
            m_invoice.lines.append(InvoiceLine{});
            m_lineLength = path.size();
        }
        const QXmlStreamAttributes attributes = m_xml.attributes();
        m_scheme = attributes.value(QLatin1String("schemeID")).toString();
        m_unit = attributes.value(QLatin1String("unitCode")).toString();
        m_currency = attributes.value(QLatin1String("currencyID")).toString();
    }
    void text(QStringView text) { m_text += text; }
    void end(const QString& path) {
        if (m_lineLength && path.size() >= m_lineLength) {
            if (path.size() == m_lineLength)
                m_lineLength = 0;
            else if (const auto term = m_syntax.line.constFind(path.mid(m_lineLength));
                     term != m_syntax.line.cend())
                take(*term);
            return;
        }
        if (const auto term = m_syntax.header.constFind(path); term != m_syntax.header.cend()) {
            take(*term);
            return;
        }
        for (InvoiceParty* party : {&m_invoice.seller, &m_invoice.buyer}) {
            const QString& partyPath = party == &m_invoice.seller ? m_syntax.sellerPath : m_syntax.buyerPath;
            if (path.startsWith(partyPath)) {
                if (const auto term = m_syntax.party.constFind(path.mid(partyPath.size()));
                    term != m_syntax.party.cend())
                    takeParty(*party, *term);
                return;
            }
        }
    }

private:
    static void setOnce(QString& field, const QString& value) {
        if (field.isEmpty())
            field = value;
    }
    std::optional<InvoiceAmount> amount() const { return InvoiceAmount::parse(m_text); }
    void takeTotal(std::optional<InvoiceAmount>& field) {
        if (!field)
            field = amount();
    }
    void take(InvoiceTerm term) {
        const QString value = m_text.trimmed();
        switch (term) {
        case InvoiceTerm::Number:
            setOnce(m_invoice.number, value);
            break;
        case InvoiceTerm::IssueDate:
            m_invoice.issueDate = dateOf(value);
            break;
        case InvoiceTerm::TypeCode:
            setOnce(m_invoice.typeCode, value);
            break;
        case InvoiceTerm::Currency:
            setOnce(m_invoice.currency, value);
            break;
        case InvoiceTerm::DueDate:
            if (!m_invoice.dueDate.isValid())
                m_invoice.dueDate = dateOf(value);
            break;
        case InvoiceTerm::BuyerReference:
            setOnce(m_invoice.buyerReference, value);
            break;
        case InvoiceTerm::PaymentTerms:
            m_invoice.paymentTerms +=
                (m_invoice.paymentTerms.isEmpty() ? QString() : QStringLiteral("\n")) + value;
            break;
        case InvoiceTerm::OrderReference:
            setOnce(m_invoice.orderReference, value);
            break;
        case InvoiceTerm::Note: {
            // UBL puts the note's subject code before it: "#ADU#Es gelten …".
            static const QRegularExpression subject(QStringLiteral("^#[A-Z]{3}#"));
            const QString note = QString(value).remove(subject).trimmed();
            if (!note.isEmpty())
                m_invoice.notes.append(note);
            break;
        }
        case InvoiceTerm::Iban:
            if (!m_invoice.accounts.isEmpty())
                setOnce(m_invoice.accounts.last().iban, value);
            break;
        case InvoiceTerm::AccountName:
            if (!m_invoice.accounts.isEmpty())
                setOnce(m_invoice.accounts.last().name, value);
            break;
        case InvoiceTerm::Bic:
            if (!m_invoice.accounts.isEmpty())
                setOnce(m_invoice.accounts.last().bic, value);
            break;
        case InvoiceTerm::LineTotal:
            takeTotal(m_invoice.lineTotal);
            break;
        case InvoiceTerm::Allowances:
            takeTotal(m_invoice.allowances);
            break;
        case InvoiceTerm::Charges:
            takeTotal(m_invoice.charges);
            break;
        case InvoiceTerm::NetTotal:
            takeTotal(m_invoice.netTotal);
            break;
        case InvoiceTerm::VatTotal:
            // A second VAT total in the accounting currency is left out.
            if (m_currency.isEmpty() || m_invoice.currency.isEmpty() || m_currency == m_invoice.currency)
                takeTotal(m_invoice.vatTotal);
            break;
        case InvoiceTerm::GrossTotal:
            takeTotal(m_invoice.grossTotal);
            break;
        case InvoiceTerm::Prepaid:
            takeTotal(m_invoice.prepaid);
            break;
        case InvoiceTerm::Rounding:
            takeTotal(m_invoice.rounding);
            break;
        case InvoiceTerm::AmountDue:
            takeTotal(m_invoice.amountDue);
            break;
        case InvoiceTerm::VatCategory:
        case InvoiceTerm::VatRate:
        case InvoiceTerm::VatBasis:
        case InvoiceTerm::VatAmount:
            if (!m_invoice.vat.isEmpty())
                takeVat(m_invoice.vat.last(), term);
            break;
        case InvoiceTerm::LineId:
        case InvoiceTerm::LineName:
        case InvoiceTerm::LineQuantity:
        case InvoiceTerm::LinePrice:
        case InvoiceTerm::LineVatRate:
        case InvoiceTerm::LineNet:
            if (!m_invoice.lines.isEmpty())
                takeLine(m_invoice.lines.last(), term);
            break;
        default:
            break;
        }
    }
    void takeVat(InvoiceVat& vat, InvoiceTerm term) {
        switch (term) {
        case InvoiceTerm::VatCategory:
            vat.category = m_text.trimmed();
            break;
        case InvoiceTerm::VatRate:
            vat.rate = amount();
            break;
        case InvoiceTerm::VatBasis:
            vat.basis = amount();
            break;
        default:
            vat.amount = amount();
            break;
        }
    }
    void takeLine(InvoiceLine& line, InvoiceTerm term) {
        switch (term) {
        case InvoiceTerm::LineId:
            line.id = m_text.trimmed();
            break;
        case InvoiceTerm::LineName:
            line.name = m_text.trimmed();
            break;
        case InvoiceTerm::LineQuantity:
            line.quantity = amount();
            line.unit = m_unit;
            break;
        case InvoiceTerm::LinePrice:
            if (!line.price)
                line.price = amount();
            break;
        case InvoiceTerm::LineVatRate:
            line.vatRate = amount();
            break;
        default:
            line.net = amount();
            break;
        }
    }
    void takeParty(InvoiceParty& party, InvoiceTerm term) {
        const QString value = m_text.trimmed();
        switch (term) {
        case InvoiceTerm::PartyName:
            setOnce(party.name, value);
            break;
        case InvoiceTerm::PartyTradingName:
            setOnce(party.tradingName, value);
            break;
        case InvoiceTerm::PartyStreet:
            setOnce(party.street, value);
            break;
        case InvoiceTerm::PartyStreetExtra:
            setOnce(party.streetExtra, value);
            break;
        case InvoiceTerm::PartyPostcode:
            setOnce(party.postcode, value);
            break;
        case InvoiceTerm::PartyTown:
            setOnce(party.town, value);
            break;
        case InvoiceTerm::PartyCountry:
            setOnce(party.country, value);
            break;
        case InvoiceTerm::PartyTaxId:
            // CII says the scheme in the attribute; UBL in the TaxScheme that follows.
            if (m_scheme == QLatin1String("VA"))
                setOnce(party.vatNumber, value);
            else if (m_scheme == QLatin1String("FC"))
                setOnce(party.taxNumber, value);
            else
                m_pendingTaxId = value;
            break;
        case InvoiceTerm::PartyTaxScheme:
            setOnce(value == QLatin1String("VAT") ? party.vatNumber : party.taxNumber, m_pendingTaxId);
            m_pendingTaxId.clear();
            break;
        case InvoiceTerm::PartyContact:
            setOnce(party.contact, value);
            break;
        case InvoiceTerm::PartyPhone:
            setOnce(party.phone, value);
            break;
        case InvoiceTerm::PartyEmail:
            setOnce(party.email, value);
            break;
        default:
            break;
        }
    }

    QXmlStreamReader& m_xml;
    const InvoiceSyntax& m_syntax;
    Invoice& m_invoice;
    QString m_text;
    QString m_scheme;
    QString m_unit;
    QString m_currency;
    QString m_pendingTaxId;
    qsizetype m_lineLength = 0;
};

const QString kNoInvoice = QStringLiteral(
    "Die Datei ist keine E-Rechnung: Sie enthält weder eine XRechnung (UBL Invoice oder CreditNote) noch "
    "eine Cross Industry Invoice (CII).");

} // namespace

QStringList InvoiceReader::embeddedNames() {
    return {QStringLiteral("factur-x.xml"), QStringLiteral("zugferd-invoice.xml"),
            QStringLiteral("ZUGFeRD-invoice.xml"), QStringLiteral("xrechnung.xml")};
}

QString InvoiceReader::tooLarge(qint64 bytes) {
    return QStringLiteral("Die Datei ist zu groß (%1 MB). E-Rechnungen bis 20 MB werden gelesen.")
        .arg(QLocale(QLocale::German).toString(double(bytes) / (1024 * 1024), 'f', 1));
}

InvoiceReader::Result InvoiceReader::read(const QByteArray& bytes) {
    if (bytes.size() > kMaxBytes)
        return refused(Refusal::TooLarge, tooLarge(bytes.size()));
    if (bytes.startsWith("%PDF-"))
        return readPdf(bytes);
    return readXml(bytes);
}

InvoiceReader::Result InvoiceReader::readXml(const QByteArray& bytes) {
    try {
        return parseXml(bytes);
    } catch (const std::bad_alloc&) {
        return refused(Refusal::OutOfMemory, outOfMemory());
    }
}

QString InvoiceReader::outOfMemory() {
    return QStringLiteral("Der Arbeitsspeicher reicht nicht aus, um die Datei zu lesen. Das Programm läuft "
                          "weiter; die Datei wird nicht eingelesen.");
}

InvoiceReader::Result InvoiceReader::parseXml(const QByteArray& bytes) {
    if (bytes.size() > kMaxBytes)
        return refused(Refusal::TooLarge, tooLarge(bytes.size()));
    // The raw text is judged before the parser sees it: a DTD is refused before any entity of it is
    // expanded, and a wrong encoding is named.
    const XmlSource::Checked checked = XmlSource::check(bytes);
    switch (checked.problem) {
    case XmlSource::Problem::NotXml:
        return refused(Refusal::NotXml, checked.reason);
    case XmlSource::Problem::Encoding:
        return refused(Refusal::Encoding, checked.reason);
    case XmlSource::Problem::Doctype:
        return refused(Refusal::Declarations, checked.reason);
    case XmlSource::Problem::None:
        break;
    }
    // Read from a device, the reader decodes the text piece by piece: a file refused early costs no more
    // than its first pieces.
    QBuffer buffer;
    QXmlStreamReader xml;
    if (checked.isDecoded) {
        xml.addData(checked.decoded);
    } else {
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        xml.setDevice(&buffer);
    }
    Invoice invoice;
    std::optional<InvoiceSyntax> syntax;
    std::optional<TermReader> terms;
    QString path;
    QList<qsizetype> lengths;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            return refused(
                Refusal::Declarations,
                QStringLiteral("Die Datei enthält eine DTD oder Entity-Deklarationen. Solche Dateien "
                               "werden aus Sicherheitsgründen nicht gelesen."));
        case QXmlStreamReader::EntityReference:
            return refused(Refusal::Declarations,
                           QStringLiteral("Die Datei verweist auf Entities, die nicht erlaubt sind. Solche "
                                          "Dateien werden aus Sicherheitsgründen nicht gelesen."));
        case QXmlStreamReader::StartElement:
            if (!syntax) {
                const QStringView ns = xml.namespaceUri();
                const QStringView root = xml.name();
                if (ns == kCii && root == QLatin1String("CrossIndustryInvoice"))
                    syntax = InvoiceSyntax::cii();
                else if ((ns == kUblInvoice && root == QLatin1String("Invoice")) ||
                         (ns == kUblCreditNote && root == QLatin1String("CreditNote")))
                    syntax = InvoiceSyntax::ubl(root.toString());
                else
                    return refused(Refusal::NotAnInvoice, kNoInvoice);
                invoice.syntax = syntax->syntax;
                terms.emplace(xml, *syntax, invoice);
                lengths.append(0);
                break;
            }
            if (lengths.size() >= kMaxDepth)
                return refused(Refusal::TooDeep,
                               QStringLiteral("Die Datei ist tiefer verschachtelt als jede Rechnung und wird "
                                              "nicht gelesen."));
            lengths.append(path.size());
            path += u'/';
            path += xml.name();
            terms->start(path);
            break;
        case QXmlStreamReader::Characters:
            if (terms)
                terms->text(xml.text());
            break;
        case QXmlStreamReader::EndElement:
            if (lengths.size() > 1)
                terms->end(path);
            path.truncate(lengths.takeLast());
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        if (!syntax && !checked.looksLikeXml && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            return refused(Refusal::NotXml,
                           QStringLiteral("Die Datei ist keine XML-Datei und keine PDF-Datei."));
        if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            return refused(
                Refusal::Truncated,
                syntax ? QStringLiteral("Die Datei ist unvollständig: Sie endet mitten in der Rechnung "
                                        "(Zeile %1).")
                             .arg(xml.lineNumber())
                       : QStringLiteral("Die Datei ist leer oder keine XML-Datei."));
        // Without a DTD every entity but the predefined ones is undeclared.
        if (xml.errorString().startsWith(QLatin1String("Entity '")))
            return refused(Refusal::Declarations,
                           QStringLiteral("Die Datei verweist in Zeile %1 auf ein Entity, das nicht "
                                          "deklariert ist. Entities sind in E-Rechnungen nicht erlaubt.")
                               .arg(xml.lineNumber()));
        return refused(Refusal::Malformed,
                       QStringLiteral("Die Datei ist fehlerhaft (kein gültiges XML) in Zeile "
                                      "%1, Spalte %2: %3")
                           .arg(xml.lineNumber())
                           .arg(xml.columnNumber())
                           .arg(xml.errorString()));
    }
    if (!syntax)
        return refused(Refusal::NotXml, QStringLiteral("Die Datei ist keine XML-Datei und keine PDF-Datei."));
    if (invoice.seller.name.isEmpty())
        invoice.seller.name = invoice.seller.tradingName;
    if (invoice.buyer.name.isEmpty())
        invoice.buyer.name = invoice.buyer.tradingName;
    invoice.discounts = Invoice::discountsIn(invoice.paymentTerms);
    invoice.accounts.removeIf([](const InvoiceAccount& account) { return account.iban.isEmpty(); });
    return {invoice, Refusal::None, QString()};
}

InvoiceReader::Result InvoiceReader::readPdf(const QByteArray& bytes) {
    try {
        return readAttachments(bytes);
    } catch (const std::bad_alloc&) {
        return refused(Refusal::OutOfMemory, outOfMemory());
    }
}

InvoiceReader::Result InvoiceReader::readAttachments(const QByteArray& bytes) {
    QString words;
    if (!PdfAttachments::available(&words))
        return refused(Refusal::BrokenPdf, words);
    const QStringList names = embeddedNames();
    // The invoice is read first and on its own: another attachment that cannot be read does not matter.
    const PdfAttachments::Limits limits{kMaxBytes, kMaxBytes, kMaxAttachments, names, QStringLiteral(".xml")};
    PdfAttachments::Contents contents;
    if (!PdfAttachments::read(bytes, limits, contents, &words))
        return refused(Refusal::BrokenPdf,
                       QStringLiteral("Die PDF-Datei ist beschädigt und kann nicht gelesen werden.\n") +
                           words);
    std::optional<Result> firstRefusal;
    for (const PdfAttachments::File& file : std::as_const(contents.files)) {
        Result result = file.failure.isEmpty()
                            ? readXml(file.bytes)
                            : refused(Refusal::BrokenPdf, QStringLiteral("Die eingebettete Datei „%1“ kann "
                                                                         "nicht gelesen werden: %2")
                                                              .arg(file.name, file.failure));
        if (result.invoice || result.refusal == Refusal::Declarations)
            return result;
        // Why the invoice under its known name was refused is the answer when no other file holds one.
        if (!firstRefusal && (names.contains(file.name) || result.refusal == Refusal::OutOfMemory))
            firstRefusal = result;
    }
    if (firstRefusal && firstRefusal->refusal != Refusal::NotAnInvoice)
        return *firstRefusal;
    if (contents.leftOut > 0)
        return refused(Refusal::PdfWithoutInvoice,
                       QStringLiteral("Die PDF-Datei enthält keine E-Rechnung in den Anhängen, die gelesen "
                                      "werden (höchstens %1, zusammen entpackt höchstens %2 MB); %3 weitere "
                                      "Anhänge werden nicht gelesen.")
                           .arg(kMaxAttachments)
                           .arg(kMaxBytes / (1024 * 1024))
                           .arg(contents.leftOut));
    return refused(Refusal::PdfWithoutInvoice,
                   QStringLiteral("Die PDF-Datei enthält keine E-Rechnung: Es ist keine XRechnung- oder "
                                  "ZUGFeRD-XML-Datei eingebettet."));
}
