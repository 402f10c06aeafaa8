#pragma once

#include "SignOff.h"

#include <QString>

// How the screens word a booking's state on its way to payment and the steps taken.
class SignOffTexts {
public:
    // The state word; "storniert" for a cancelled booking, "Storno" for an ordered counter-booking and
    // "Storno, " with the state word for one still on its way.
    static QString state(const SignOff& signOff);
    static QString state(const StateMark& mark);
    // The steps taken, one a line: who took each and when, the day paid, the reason of a storno.
    static QString details(const SignOff& signOff);
    // A step's time as stored (UTC, "2025-03-04T09:15:00.000Z") in local time, "04.03.2025 10:15".
    static QString time(const QString& utc);
    // "login, 04.03.2025 10:15", empty when the step was not taken.
    static QString byAndAt(const QString& by, const QString& at);
};
