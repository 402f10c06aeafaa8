#pragma once

#include "Money.h"

#include <optional>
#include <QString>
#include <QtGlobal>

// A row of tblZahlung: what a booking's payment came from (the invoice, its receipt and the gross amount
// approved) and what was deducted from it. The booking's Betrag stays the amount paid out:
// gross - retention - withholding - discount. A booking without a row was paid in full, without receipt day.
struct Payment {
    qint64 bookingId = 0;               // BuchungID: tblBuchung.ID
    QString projectId;                  // ProjektID
    std::optional<int> receivedOn;      // Eingang, a day number
    std::optional<int> daysToPay;       // Frist: 21, 30 or 60
    std::optional<Money> invoiceAmount; // Rechnungsbetrag
    std::optional<Money> gross;         // Brutto
    std::optional<Money> retention;     // Einbehalt; negative for a release
    QString retentionKind;              // EinbehaltArt: "Vertragserfüllung" or "Mängelansprüche"
    std::optional<Money> withholding;   // Bauabzug
    QString taxOffice;                  // Finanzamt
    std::optional<int> discountPercent; // SkontoProzent, in hundredths of a percent
    std::optional<int> discountDays;    // SkontoTage
    std::optional<Money> discount;      // Skonto
    std::optional<qint64> securityId;   // SicherheitID: tblSicherheit.ID of what a release releases

    friend bool operator==(const Payment&, const Payment&) = default;
};
Q_DECLARE_TYPEINFO(Payment, Q_RELOCATABLE_TYPE);
