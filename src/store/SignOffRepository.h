#pragma once

#include "Booking.h"
#include "SignOff.h"

#include <optional>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Database;
class DatabaseRow;

// Reads and writes tblFreigabe, the state of each booking on its way to payment, and the settings of
// tblEinstellung. The engine itself keeps a row for every new booking, whoever writes it, refuses a step
// out of order and a change of an ordered booking (SignOffChecks); on the server it also checks the
// rights and the rules, and writes who took a step when from its own login and clock.
class SignOffRepository {
public:
    // A booking with its state, as the list of what waits for a login reads it.
    struct Pending {
        Booking booking;
        SignOff signOff;
    };
    // Whose next step a booking waits for: the login, what it may do and the rules in force.
    struct Looking {
        QString login;
        bool mayRecord = false;
        bool mayConfirm = false;
        bool mayOrder = false;
        bool fourEyes = false;
        bool twoStep = false;
    };

    explicit SignOffRepository(Database& database) : m_db(database) {}

    // Where the state of a booking lies beside it; nullopt when it has no row (it stands as recorded).
    std::optional<SignOff> find(qint64 bookingId, bool* ok = nullptr) const;
    // The marks of the project's bookings that have a state row, through the index on the project; a
    // counter-booking lies in the project of the booking it cancels.
    QHash<qint64, StateMark> marksOfProject(const QString& projectId, bool* ok = nullptr) const;
    // Within a transaction: the bookings and their states, kept from other writers until its end; a
    // booking without a row stands as recorded, one no longer stored is left out.
    QList<Pending> forBookings(const QList<qint64>& bookingIds, bool* ok = nullptr) const;
    // Every booking whose next step is one the viewer may take, oldest first.
    QList<Pending> waiting(const Looking& viewer, bool* ok = nullptr) const;

    // Within a transaction: the next step of the bookings, taken by the login now (on the server, by its
    // session user at its time). paidOn: the day the cash office paid, for the state paid.
    bool step(const QList<qint64>& bookingIds, BookingState to, const QString& login,
              std::optional<int> paidOn = std::nullopt);
    // Within the transaction that added the booking: this login recorded it (on the server the engine
    // writes its session user).
    bool recorded(qint64 bookingId);
    // Within the transaction that added counter: it cancels the booking cancelled, for reason.
    bool link(qint64 counter, qint64 cancelled, const QString& reason);
    // Within a transaction: the bookings that have no row yet get one in state, with note (those brought
    // in from an older installation are ordered).
    bool fillMissing(BookingState state, const QString& note);

    // Within a transaction: sets aside what gives each booking brought in at once a state of its own,
    // and puts it back.
    bool suspendChecks();
    bool installChecks();

    // A setting of tblEinstellung; nullopt when it is not stored, or (ok false) cannot be read.
    std::optional<QString> setting(const QString& name, bool* ok = nullptr) const;
    // Within a transaction.
    bool setSetting(const QString& name, const QString& value);

    // Who works: the server's session user, the operating system's login on the file.
    QString login() const;
    // Who works, the rights the login holds (on the file every right) and the rules in force (by
    // default: four eyes on a server, not on a file; confirming in one step), read at once.
    std::optional<Looking> viewer() const;
    static QString fourEyesSetting();
    static QString twoStepSetting();
    // Now, as the journal writes its times: UTC, "yyyy-MM-ddTHH:mm:ss.zzzZ".
    static QString now();
    // The statement that gives the bookings found when the table arrives their state: ordered, with the
    // note that they were booked before.
    static QString arrivalStatement();
    static QString arrivalNote();

private:
    static QString columns(const QString& alias);
    static SignOff built(const DatabaseRow& row, int first);

    Database& m_db;
};
