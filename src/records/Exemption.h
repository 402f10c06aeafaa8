#pragma once

#include <optional>
#include <QString>
#include <QtGlobal>

// A row of tblFreistellung: a company's exemption certificate from the construction withholding tax
// (Freistellungsbescheinigung, §48b EStG), valid from one day to another, both included.
struct Exemption {
    qint64 id = 0;                // ID
    qint64 companyId = 0;         // FirmaID: tblFirma.ID
    QString number;               // Nummer
    QString taxOffice;            // Finanzamt
    std::optional<int> validFrom; // GueltigVon
    std::optional<int> validTo;   // GueltigBis
    std::optional<int> checkedOn; // GeprueftAm

    bool validOn(int day) const { return validFrom && validTo && *validFrom <= day && day <= *validTo; }
};
Q_DECLARE_TYPEINFO(Exemption, Q_RELOCATABLE_TYPE);
