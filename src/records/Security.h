#pragma once

#include "Money.h"

#include <optional>
#include <QString>
#include <QtGlobal>

// A row of tblSicherheit: a security a company gave for its work in a project (a guarantee, or a cash
// retention recorded as such), with when it came and when it is to go back and went back.
struct Security {
    qint64 id = 0;                  // ID
    QString projectId;              // ProjektID
    qint64 companyId = 0;           // FirmaID: tblFirma.ID
    QString kind;                   // Art: "Vertragserfüllung" or "Mängelansprüche"
    QString form;                   // Form: "Bürgschaft" or "Einbehalt"
    std::optional<Money> amount;    // Betrag
    QString guarantor;              // Buerge
    QString documentNumber;         // UrkundeNr
    std::optional<int> receivedOn;  // ErhaltenAm, a day number
    std::optional<int> returnDueOn; // RueckgabeAm
    std::optional<int> returnedOn;  // ZurueckAm
};
Q_DECLARE_TYPEINFO(Security, Q_RELOCATABLE_TYPE);
