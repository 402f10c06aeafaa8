#pragma once

#include "InvoiceAmount.h"

#include <optional>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// A party of an invoice: the seller (BG-4) or the buyer (BG-7).
struct InvoiceParty {
    QString name;        // BT-27 / BT-44
    QString tradingName; // BT-28 / BT-45
    QString street;      // BT-35 / BT-50
    QString streetExtra; // BT-36 / BT-51
    QString postcode;    // BT-38 / BT-53
    QString town;        // BT-37 / BT-52
    QString country;     // BT-40 / BT-55
    QString vatNumber;   // BT-31 / BT-48
    QString taxNumber;   // BT-32
    QString contact;     // BT-41 / BT-56
    QString phone;       // BT-42 / BT-57
    QString email;       // BT-43 / BT-58
};

// One invoice line (BG-25).
struct InvoiceLine {
    QString id;                            // BT-126
    QString name;                          // BT-153
    std::optional<InvoiceAmount> quantity; // BT-129
    QString unit;                          // BT-130
    std::optional<InvoiceAmount> price;    // BT-146
    std::optional<InvoiceAmount> vatRate;  // BT-152
    std::optional<InvoiceAmount> net;      // BT-131
};

// One VAT category of the breakdown (BG-23).
struct InvoiceVat {
    QString category;                    // BT-118
    std::optional<InvoiceAmount> rate;   // BT-119
    std::optional<InvoiceAmount> basis;  // BT-116
    std::optional<InvoiceAmount> amount; // BT-117
};

// An account the amount may be paid to (BG-17).
struct InvoiceAccount {
    QString iban; // BT-84
    QString name; // BT-85
    QString bic;  // BT-86
};

// A cash discount offered in the payment terms: "#SKONTO#TAGE=14#PROZENT=2.00#" with an optional
// "BASISBETRAG=...".
struct InvoiceDiscount {
    int days = 0;
    InvoiceAmount percent;
    std::optional<InvoiceAmount> basis;
};

// An electronic invoice as read from either syntax: the business terms a booking and its check need.
struct Invoice {
    enum class Syntax { Ubl, Cii };
    Syntax syntax = Syntax::Cii;
    QString number;         // BT-1
    QDate issueDate;        // BT-2
    QString typeCode;       // BT-3
    QString currency;       // BT-5
    QDate dueDate;          // BT-9
    QString buyerReference; // BT-10, the Leitweg-ID
    QString orderReference; // BT-13
    QStringList notes;      // BT-22
    QString paymentTerms;   // BT-20
    QList<InvoiceDiscount> discounts;
    QList<InvoiceAccount> accounts;
    InvoiceParty seller;
    InvoiceParty buyer;
    QList<InvoiceLine> lines;
    QList<InvoiceVat> vat;
    std::optional<InvoiceAmount> lineTotal;  // BT-106
    std::optional<InvoiceAmount> allowances; // BT-107
    std::optional<InvoiceAmount> charges;    // BT-108
    std::optional<InvoiceAmount> netTotal;   // BT-109
    std::optional<InvoiceAmount> vatTotal;   // BT-110
    std::optional<InvoiceAmount> grossTotal; // BT-112
    std::optional<InvoiceAmount> prepaid;    // BT-113
    std::optional<InvoiceAmount> rounding;   // BT-114
    std::optional<InvoiceAmount> amountDue;  // BT-115

    // BT-3 in German words: "Rechnung", "Gutschrift", "Schlussrechnung (Bau)" ...
    static QString typeName(const QString& code);
    // BT-130 in German: "Stück", "m³", "pauschal" ...; an unknown code as it is.
    static QString unitName(const QString& code);
    // BT-118 in German: "Regelsatz", "steuerbefreit" ...
    static QString vatCategoryName(const QString& code);
    bool isCreditNote() const { return typeCode == QLatin1String("381"); }
    // What the booking pays: BT-115, negative for a credit note, rounded to the cent.
    Money bookingAmount() const;
    // True when BT-115 = BT-112 - BT-113 + BT-114 (absent terms count as 0).
    bool totalsAddUp() const;
    // The discounts of BT-20's "#SKONTO#" segments.
    static QList<InvoiceDiscount> discountsIn(const QString& paymentTerms);
};
