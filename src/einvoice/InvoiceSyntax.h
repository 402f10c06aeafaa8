#pragma once

#include "Invoice.h"

#include <QHash>
#include <QString>
#include <QStringList>

// What an element's text is to the invoice.
enum class InvoiceTerm {
    Number,
    IssueDate,
    TypeCode,
    Currency,
    DueDate,
    BuyerReference,
    OrderReference,
    Note,
    PaymentTerms,
    Iban,
    AccountName,
    Bic,
    LineTotal,
    Allowances,
    Charges,
    NetTotal,
    VatTotal,
    GrossTotal,
    Prepaid,
    Rounding,
    AmountDue,
    VatCategory,
    VatRate,
    VatBasis,
    VatAmount,
    // A party's terms; the seller's and the buyer's share them, told apart by where they stand.
    PartyName,
    PartyTradingName,
    PartyStreet,
    PartyStreetExtra,
    PartyPostcode,
    PartyTown,
    PartyCountry,
    PartyTaxId,
    PartyTaxScheme,
    PartyContact,
    PartyPhone,
    PartyEmail,
    LineId,
    LineName,
    LineQuantity,
    LinePrice,
    LineVatRate,
    LineNet,
};

// Where the business terms stand in one syntax of an e-invoice, as paths below its root element.
struct InvoiceSyntax {
    Invoice::Syntax syntax;
    QHash<QString, InvoiceTerm> header;
    // The two parties' element paths, and the terms within them.
    QString sellerPath;
    QString buyerPath;
    QHash<QString, InvoiceTerm> party;
    // Where a VAT category and a line begin, and the line's terms.
    QString vatPath;
    // Where a payment means, with the account it names, begins.
    QString accountPath;
    QStringList linePaths;
    QHash<QString, InvoiceTerm> line;

    // UBL Invoice or CreditNote, by the name of the root element.
    static InvoiceSyntax ubl(const QString& root);
    // The Cross Industry Invoice.
    static InvoiceSyntax cii();
};
