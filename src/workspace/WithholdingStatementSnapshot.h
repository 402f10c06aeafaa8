#pragma once

#include "ListSnapshot.h"
#include "WithheldPayment.h"

#include <QList>

class Session;
class Settings;

// The snapshot of the statements a company receives of the construction withholding tax kept back from its
// payments (§48a Abs. 2 EStG), one row each: the authority's details from the settings as the letterhead,
// the company's name and address from the company register, the invoice's amount and date, the payment
// day, the amount withheld and the tax office it goes to.
class WithholdingStatementSnapshot {
public:
    static ListSnapshot of(Session& session, const Settings& settings,
                           const QList<WithheldPayment>& payments);
};
