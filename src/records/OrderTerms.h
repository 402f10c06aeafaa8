#pragma once

#include <optional>
#include <QString>
#include <QtGlobal>

// A row of tblZahlungsbedingung: the payment terms of a company's order (its estimate row "Auftrag vom",
// named by project, company and running number). Percentages are hundredths of a percent (2,5 % = 250).
struct OrderTerms {
    qint64 id = 0;                         // ID
    QString projectId;                     // ProjektID
    qint64 companyId = 0;                  // FirmaID: tblFirma.ID
    int runningNumber = 0;                 // NID of the order's estimate row
    bool vob = true;                       // VOB: the order agrees VOB/B
    std::optional<int> performancePercent; // ErfuellungProzent: security for performance
    QString performanceForm;               // ErfuellungForm: "Einbehalt", "Bürgschaft" or empty
    std::optional<int> defectsPercent;     // MaengelProzent: security for defects
    QString defectsForm;                   // MaengelForm
    std::optional<int> defectsYears;       // MaengelJahre: years until the security for defects is returned
    std::optional<int> discountPercent;    // SkontoProzent
    std::optional<int> discountDays;       // SkontoTage
    std::optional<int> daysToPay;          // Frist: 30 or 60; empty: as VOB/B says

    // The years until the security for defects is returned when the terms name none (§17 Abs. 8 Nr. 2 VOB/B).
    static constexpr int kDefaultDefectsYears = 2;
    int yearsToReturn() const { return defectsYears.value_or(kDefaultDefectsYears); }
};
Q_DECLARE_TYPEINFO(OrderTerms, Q_RELOCATABLE_TYPE);
