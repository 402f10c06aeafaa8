#pragma once

#include "Booking.h"
#include "SignOff.h"
#include "SignOffRules.h"

#include <optional>
#include <QHash>
#include <QList>
#include <QString>

class Session;

// Reads where bookings stand on their way to payment, what waits for the login's next step, and why an
// action on a booking is not open to the login (for screens that disable it with that reason as tooltip).
class SignOffReading {
public:
    enum class Step { Confirm, Order, Pay, Cancel, TakeBack, Remove };
    // Who looks, and what the login may do: read once, then asked for many rows.
    struct Viewer {
        QString login;
        bool mayRecord = true;
        bool mayConfirm = true;
        bool mayOrder = true;
        SignOffRules rules;
    };
    struct Waiting {
        Booking booking;
        SignOff signOff;
    };

    // What the project's list shows of each booking's state, by booking ID; a booking without a row stands
    // as recorded and is left out.
    static QHash<qint64, StateMark> marksOfProject(Session& session, const QString& projectId,
                                                   bool* ok = nullptr);
    // The state of one booking (recorded when it has no row).
    static std::optional<SignOff> ofBooking(Session& session, qint64 bookingId);
    // Every booking across projects waiting for this login's next step (confirming or ordering) that the
    // login's rights and the four-eyes rule let it take, oldest first.
    static QList<Waiting> waitingFor(Session& session, bool* ok = nullptr);
    static SignOffRules rules(Session& session);
    // The server's session user; the operating system's login on the file.
    static QString login(Session& session);
    static Viewer viewer(Session& session);
    // The German reason why step is not open to the login for the booking, nullopt when it is.
    static std::optional<QString> whyNot(Session& session, const SignOff& signOff, Step step);
    static std::optional<QString> whyNot(const Viewer& viewer, const SignOff& signOff, Step step);
};
