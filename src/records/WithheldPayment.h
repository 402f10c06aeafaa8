#pragma once

#include "Booking.h"
#include "Money.h"

#include <optional>
#include <QString>

// A booking from whose payment construction withholding tax was kept back (tblZahlung.Bauabzug), with the
// payment data the tax office's statement names.
struct WithheldPayment {
    Booking booking;
    std::optional<Money> invoiceAmount; // Rechnungsbetrag
    std::optional<Money> gross;         // Brutto
    Money withheld;                     // Bauabzug
    QString taxOffice;                  // Finanzamt
};
Q_DECLARE_TYPEINFO(WithheldPayment, Q_RELOCATABLE_TYPE);
