#pragma once

#include "Exemption.h"
#include "Reading.h"

#include <QHash>
#include <QList>

class Session;

// Reads the companies' exemption certificates for the company register.
class ExemptionReading {
public:
    // The certificates of the company tblFirma.ID companyId, the one valid longest first.
    static Reading<QList<Exemption>> forCompany(Session& session, qint64 companyId);
    // The companies whose certificates end at the latest 30 days after today, each with the last day of
    // its latest certificate, for marking them in the company list.
    static Reading<QHash<qint64, int>> endingSoon(Session& session, int today);
};
