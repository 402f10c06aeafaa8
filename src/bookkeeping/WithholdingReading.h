#pragma once

#include "Reading.h"
#include "WithheldPayment.h"

#include <QList>
#include <QString>

class Session;

// The construction withholding tax kept back from payments, per month of the payment day and tax office,
// each sum due to the tax office by the 10th of the following month (§48a Abs. 1 EStG).
class WithholdingReading {
public:
    struct Month {
        int year = 0;
        int month = 0;
        QString taxOffice;
        int dueOn = 0;
        Money sum;
        QList<WithheldPayment> payments;
    };

    // The payments of the calendar year from which an amount was withheld, by payment day.
    static Reading<QList<WithheldPayment>> ofYear(Session& session, int year);
    // The payments grouped by month and tax office, in order of month, then tax office; the payments of
    // a group keep their order.
    static QList<Month> byMonth(const QList<WithheldPayment>& payments);
    // The day the amounts withheld in month of year are due: the 10th of the following month.
    static int dueOn(int year, int month);
};
