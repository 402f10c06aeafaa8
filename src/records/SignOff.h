#pragma once

#include <optional>
#include <QString>
#include <QtGlobal>

// Where a booking stands on its way to payment: recorded, confirmed as factually right (the first of two
// confirming steps), confirmed, ordered for payment, paid by the cash office.
enum class BookingState { Recorded, FactuallyRight, Confirmed, Ordered, Paid };

// "erfasst", "sachlich richtig", "festgestellt", "angeordnet", "bezahlt".
QString stateWord(BookingState state);
std::optional<BookingState> stateOfWord(const QString& word);

// A row of tblFreigabe: the state of one booking and who took each step when (logins, UTC times as the
// journal writes them). A booking without a row is recorded.
struct SignOff {
    qint64 bookingId = 0; // BuchungID
    QString projectId;    // ProjektID
    BookingState state = BookingState::Recorded;
    QString recordedBy;                // ErfasstVon
    QString recordedAt;                // ErfasstAm
    QString factuallyBy;               // SachlichVon
    QString factuallyAt;               // SachlichAm
    QString confirmedBy;               // FestgestelltVon
    QString confirmedAt;               // FestgestelltAm
    QString orderedBy;                 // AngeordnetVon
    QString orderedAt;                 // AngeordnetAm
    std::optional<int> paidOn;         // BezahltAm, a day number
    std::optional<qint64> cancels;     // StornoZu: the booking this counter-booking cancels
    std::optional<qint64> cancelledBy; // the counter-booking that cancels this booking (read, not stored)
    QString reason;                    // Grund of a counter-booking
    QString note;                      // Hinweis
};
Q_DECLARE_TYPEINFO(SignOff, Q_RELOCATABLE_TYPE);

// What a list shows of a booking's state: the state, and whether it is a counter-booking or cancelled by one.
struct StateMark {
    BookingState state = BookingState::Recorded;
    bool cancels = false;
    bool cancelled = false;
};
Q_DECLARE_TYPEINFO(StateMark, Q_PRIMITIVE_TYPE);
