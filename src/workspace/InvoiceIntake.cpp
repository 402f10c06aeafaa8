#include "InvoiceIntake.h"

#include "BookingChecks.h"
#include "BookingListModel.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "InvoiceCompany.h"
#include "InvoiceReader.h"
#include "PayeeAccountCheck.h"
#include "RunningNumberText.h"
#include "WorkspaceContext.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString kTitle = QStringLiteral("E-Rechnung einlesen");

QString bookingWords(const Booking& booking) {
    return QStringLiteral("LfdNr. %1 vom %2 über %3 Euro")
        .arg(RunningNumberText::of(booking.runningNumber), DayNumber::format(booking.instructedOn),
             booking.amount ? booking.amount->toGerman() : QString());
}
} // namespace

std::optional<InvoiceIntake::Opened> InvoiceIntake::open(const QString& path, QWidget* parent) {
    const QFileInfo info(path);
    const auto refuse = [&](const QString& reason) {
        m_context.dialogs.inform(
            parent, kTitle, QStringLiteral("„%1“ wird nicht eingelesen.\n").arg(info.fileName()) + reason,
            Dialogs::Icon::Warning);
        return std::nullopt;
    };
    if (info.size() > InvoiceReader::kMaxBytes)
        return refuse(InvoiceReader::tooLarge(info.size()));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("Die Datei kann nicht gelesen werden: ") + file.errorString());
    Opened opened{{}, file.read(InvoiceReader::kMaxBytes + 1), info.fileName()};
    const InvoiceReader::Result result = InvoiceReader::read(opened.bytes);
    if (!result.invoice)
        return refuse(result.reason);
    opened.invoice = *result.invoice;
    return opened;
}

std::optional<Company> InvoiceIntake::matchingCompany(const Invoice& invoice) const {
    const ProjectLedger& ledger = m_context.ledger;
    if (!invoice.seller.vatNumber.isEmpty()) {
        if (const std::optional<qint64> id = ledger.companyWithVatNumber(invoice.seller.vatNumber)) {
            if (std::optional<Company> company = ledger.company(*id))
                return company;
        }
    }
    if (invoice.seller.name.isEmpty())
        return std::nullopt;
    return ledger.company(invoice.seller.name);
}

QString InvoiceIntake::duplicateWarning(const Opened& opened, const QString& company) const {
    QStringList found;
    if (!company.isEmpty() && !opened.invoice.number.isEmpty()) {
        const QList<Booking> bookings =
            m_context.ledger.bookingsWith(m_context.projectId, ProjectLedger::Field::Company, company);
        for (const Booking& booking : bookings)
            if (BookingChecks::sameInvoiceNumber(opened.invoice.number, booking.invoiceNumber))
                found.append(QStringLiteral("Die Rechnungsnummer %1 ist für %2 schon gebucht: %3.")
                                 .arg(opened.invoice.number, company, bookingWords(booking)));
    }
    if (const auto stored = m_context.ledger.invoiceFileLike(opened.bytes)) {
        const std::optional<Booking> booking =
            stored->bookingId ? m_context.ledger.booking(*stored->bookingId) : std::nullopt;
        found.append(
            booking
                ? QStringLiteral("Diese Datei ist schon mit einer Buchung gespeichert: %1 (%2, Projekt %3).")
                      .arg(bookingWords(*booking), booking->company, booking->projectId)
                : QStringLiteral("Diese Datei wurde schon einmal gespeichert; ihre Buchung ist gelöscht."));
    }
    return found.join(u'\n');
}

QList<InvoicePresentation::Check> InvoiceIntake::checks(const Opened& opened) const {
    QList<InvoicePresentation::Check> checks = InvoicePresentation::checksOf(opened.invoice);
    const std::optional<Company> company = matchingCompany(opened.invoice);
    const QString duplicate = duplicateWarning(opened, company ? company->name : QString());
    if (!duplicate.isEmpty())
        checks.prepend({false, QStringLiteral("Schon gebucht? ") + duplicate});
    checks.append(
        {company.has_value(),
         company ? QStringLiteral("Firma im Register: ") + company->name
                 : QStringLiteral("Die Firma „%1“ ist nicht im Register.").arg(opened.invoice.seller.name)});
    if (company) {
        const PayeeAccountCheck accounts(m_context.session, opened.invoice, *company);
        if (!accounts.failure().isEmpty())
            checks.append({false, accounts.failure()});
        else if (accounts.differs())
            checks.append({false, accounts.text()});
    }
    return checks;
}

QString InvoiceIntake::paymentKindFor(const Invoice& invoice, const QString& company) const {
    if (invoice.typeCode == QLatin1String("877"))
        return QStringLiteral("Schlußzahlung");
    if (invoice.typeCode != QLatin1String("875") && invoice.typeCode != QLatin1String("876"))
        return QString();
    static const QRegularExpression instalment(QStringLiteral("^\\s*(\\d+)\\.\\s*Abschlagszahlung"));
    int highest = 0;
    if (!company.isEmpty()) {
        for (const Booking& booking :
             m_context.ledger.bookingsWith(m_context.projectId, ProjectLedger::Field::Company, company)) {
            const QRegularExpressionMatch match = instalment.match(booking.paymentKind);
            if (match.hasMatch())
                highest = qMax(highest, match.captured(1).toInt());
        }
    }
    return QString::number(highest + 1) + QStringLiteral(". Abschlagszahlung");
}

std::optional<QString> InvoiceIntake::chooseCompany(const Invoice& invoice, QWidget* parent) {
    const InvoiceParty& seller = invoice.seller;
    const int choice = m_context.dialogs.choose(
        parent, kTitle,
        QStringLiteral(
            "Die Firma „%1“ (%2 %3) ist nicht im Firmenregister.\nSoll sie aus den Angaben der Rechnung "
            "angelegt werden, oder wählen Sie die Firma selbst im Register?")
            .arg(seller.name, seller.postcode, seller.town),
        Dialogs::Icon::Question,
        {QStringLiteral("Firma &anlegen"), QStringLiteral("Firma selbst &wählen"),
         QStringLiteral("Abbrechen")});
    if (choice == 1)
        return QString();
    if (choice != 0)
        return std::nullopt;
    // Without a trade the company could not be booked: both are chosen here, where it is created.
    const QStringList placing = chooseTradeAndCostGroup(seller.name, parent);
    if (placing.isEmpty())
        return std::nullopt;
    Company company;
    company.name = seller.name;
    company.street = seller.streetExtra.isEmpty() ? seller.street
                                                  : seller.street + QStringLiteral(", ") + seller.streetExtra;
    company.postcode = seller.postcode;
    company.town = seller.town;
    company.phone = seller.phone;
    company.email = seller.email;
    company.contact = seller.contact;
    company.trade = placing.at(0);
    company.costGroup = placing.value(1);
    if (const Outcome created = InvoiceCompany(m_context.session).create(company); !created.ok()) {
        m_context.dialogs.inform(parent, kTitle,
                                 QStringLiteral("Die Firma konnte nicht angelegt werden.\n") + created.text(),
                                 Dialogs::Icon::Critical);
        return std::nullopt;
    }
    return company.name;
}

QStringList InvoiceIntake::chooseTradeAndCostGroup(const QString& company, QWidget* parent) {
    bool tradesRead = true;
    bool costGroupsRead = true;
    QStringList trades = m_context.ledger.trades(&tradesRead);
    const QStringList costGroups = QStringList{QString()} + m_context.ledger.costGroups(&costGroupsRead);
    if (!tradesRead || !costGroupsRead) {
        m_context.dialogs.inform(parent, kTitle, m_context.ledger.failureText(), Dialogs::Icon::Warning);
        return {};
    }
    trades.removeAll(QString());
    if (trades.isEmpty()) {
        m_context.dialogs.inform(parent, kTitle,
                                 QStringLiteral("Es ist noch kein Gewerk gespeichert. Legen Sie unter "
                                                "„Voreinstellungen“ zuerst die Gewerke an."),
                                 Dialogs::Icon::Warning);
        return {};
    }
    trades.prepend(QString());
    return m_context.dialogs.chooseFromLists(
        parent, QStringLiteral("Firma anlegen"),
        QStringLiteral("Die Firma „%1“ wird angelegt. Bitte wählen Sie ihr Gewerk und ihre Kostengruppe.")
            .arg(company),
        {QStringLiteral("&Gewerk:"), QStringLiteral("&Kostengruppe:")}, {trades, costGroups});
}

std::optional<InvoiceIntake::Entry> InvoiceIntake::prepare(const Opened& opened, QWidget* parent) {
    const Invoice& invoice = opened.invoice;
    if (!InvoicePresentation::bookable(invoice)) {
        m_context.dialogs.inform(
            parent, kTitle,
            QStringLiteral("Die Rechnung lautet auf die Währung „%1“. Gebucht werden nur "
                           "Rechnungen in Euro.")
                .arg(invoice.currency),
            Dialogs::Icon::Warning);
        return std::nullopt;
    }
    m_askedInvoiceNumber.clear();
    const std::optional<Company> matched = matchingCompany(invoice);
    const QString duplicate = duplicateWarning(opened, matched ? matched->name : QString());
    if (!duplicate.isEmpty() &&
        m_context.dialogs.ask(parent, kTitle,
                              duplicate + QStringLiteral("\n\nDie Rechnung trotzdem übernehmen?"),
                              Dialogs::Icon::Warning, Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return std::nullopt;
    const QString askedInvoiceNumber = duplicate.isEmpty() ? QString() : invoice.number;
    std::optional<QString> company =
        matched ? std::optional<QString>(matched->name) : chooseCompany(invoice, parent);
    if (!company || !payeeAccountConfirmed(invoice, *company, parent))
        return std::nullopt;
    Entry entry{*company,
                invoice.issueDate,
                invoice.number,
                invoice.bookingAmount(),
                paymentKindFor(invoice, *company),
                QStringLiteral("E-Rechnung %1 vom %2")
                    .arg(invoice.number, InvoicePresentation::date(invoice.issueDate))};
    if (invoice.amountDue && invoice.amountDue->hasFractionOfCent())
        m_context.dialogs.inform(
            parent, kTitle,
            QStringLiteral("Der Zahlbetrag %1 hat mehr als zwei Nachkommastellen. Übernommen wird "
                           "der auf den Cent gerundete Betrag %2.")
                .arg(invoice.amountDue->toGerman(), invoice.amountDue->toMoney().toGerman()),
            Dialogs::Icon::Information);
    m_pending = opened;
    m_original = BookingOperation::InvoiceOriginal{opened.fileName, opened.bytes, invoice.seller.vatNumber};
    for (const InvoiceDiscount& discount : invoice.discounts) {
        // A percentage of more than two decimals is no discount the program can take.
        if (discount.percent.millionths() % 10'000 == 0)
            m_original->discounts.append(
                {static_cast<int>(discount.percent.millionths() / 10'000), discount.days});
    }
    m_askedInvoiceNumber = askedInvoiceNumber;
    return entry;
}

bool InvoiceIntake::payeeAccountConfirmed(const Invoice& invoice, const QString& company, QWidget* parent) {
    if (invoice.accounts.isEmpty())
        return true;
    bool read = true;
    const std::optional<Company> registered = m_context.ledger.company(company, &read);
    if (!read) {
        m_context.dialogs.inform(parent, kTitle, m_context.ledger.failureText(), Dialogs::Icon::Warning);
        return false;
    }
    if (!registered)
        return true;
    const PayeeAccountCheck accounts(m_context.session, invoice, *registered);
    if (!accounts.failure().isEmpty()) {
        m_context.dialogs.inform(parent, kTitle, accounts.failure(), Dialogs::Icon::Warning);
        return false;
    }
    return accounts.confirm(m_context.dialogs, parent, kTitle);
}

void InvoiceIntake::forget() {
    m_pending.reset();
    m_original.reset();
    m_askedInvoiceNumber.clear();
}
