#pragma once

#include "Money.h"

#include <optional>
#include <QString>
#include <QtGlobal>

// A row of tblBuchung: one payment booking, carrying copies of its project's, company's, trade's and
// cost group's names.
struct Booking {
    qint64 id = 0;                    // ID, order of entry
    std::optional<int> runningNumber; // PID
    QString projectId;                // ProjektID
    QString project;                  // Projekt
    QString company;                  // Firma
    QString trade;                    // Gewerk
    QString costGroup;                // Kostengruppe
    std::optional<int> instructedOn;  // AnweisungVom, a day number
    std::optional<int> invoiceDate;   // RechnungVom, a day number
    // The stored text of AnweisungVom and RechnungVom when it is no day number; written back unchanged.
    QString instructedOnText;
    QString invoiceDateText;
    QString invoiceNumber;       // RechnungsNr
    QString paymentKind;         // Zahlungsart
    QString remarks;             // Bemerkungen
    std::optional<Money> amount; // Betrag; nullopt for an empty or foreign value
    QString unreadableAmount;    // the stored text of a Betrag that is there but no amount
};
Q_DECLARE_TYPEINFO(Booking, Q_RELOCATABLE_TYPE);
