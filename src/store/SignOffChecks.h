#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// What both engines check of the sign-off, in the same words: the steps a booking's state may take, the
// fields of an ordered booking that nothing may change (the copied names aside, which a rename carries
// into every booking), and the German refusals.
class SignOffChecks {
public:
    // Each step as the state before and after it.
    static QList<std::pair<QString, QString>> steps();
    static QString recorded();
    // The states after which a booking is only corrected by a storno, quoted for "Status IN (...)".
    static QString finalStatesList();
    static QStringList fixedBookingFields();
    static QString changeRefusal();
    static QString removalRefusal();
    static QString stepRefusal();
    // The refusals of a step to the login (who is named by the caller).
    static QString rightMissing(const QString& right);
    static QString ownBooking();
    static QString ownSignature();
    static QString twoPersons();
};
