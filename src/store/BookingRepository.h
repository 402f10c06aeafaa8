#pragma once

#include "Booking.h"
#include "Database.h"

#include <optional>
#include <QHash>
#include <QList>
#include <QStringList>

// Reads and writes tblBuchung. Stored names handed in (a project's or company's name, a trade) are
// compared for equality ignoring case, never as patterns. Failure reporting as ProjectRepository.
class RepeatedTexts;

class BookingRepository {
public:
    enum class Field { Company, Trade, CostGroup };
    // A company's bookings in one project added up; the spellings of its name that differ only in letter
    // case are one company.
    struct CompanySum {
        // Firma, Gewerk and Kostengruppe of the company's last booking.
        QString company;
        QString trade;
        QString costGroup;
        qint64 lastBookingId = 0;
        // An amount that is not a number adds nothing.
        Money amount;
    };

    explicit BookingRepository(Database& database) : m_db(database) {}

    // The fields of a booking as a query of another repository selects them from the table named alias,
    // and the booking built from them, starting at column first; with the texts of repeated, where given.
    static QString columns(const QString& alias);
    static Booking built(const DatabaseRow& row, int first, RepeatedTexts* repeated = nullptr);

    QList<Booking> all(bool* ok = nullptr) const;
    // One project's bookings (ProjektID, without surrounding blanks, equals projectId), in order of entry;
    // so are the project's rows for every other operation.
    QList<Booking> forProject(const QString& projectId, bool* ok = nullptr) const;
    // The project's bookings added up per company in one pass, leaving out the booking leftOut; the
    // companies from the one booked last.
    // byInstructionDay, when given, gets the same amounts added up per instruction day (bookings
    // without one left out).
    QList<CompanySum> sumsByCompany(const QString& projectId, std::optional<qint64> leftOut = std::nullopt,
                                    bool* ok = nullptr, QHash<int, Money>* byInstructionDay = nullptr) const;
    // The highest PID among the project's bookings; 0 when there are none.
    int highestRunningNumber(const QString& projectId, bool* ok = nullptr) const;
    // Whether a booking of the project has this PID; nullopt when it cannot be read.
    std::optional<bool> holdsRunningNumber(const QString& projectId, int runningNumber) const;
    // The distinct companies, trades or cost groups of the project's bookings, each once whatever its
    // letter case; empty values left out; in German alphabetical order.
    QStringList distinctValues(Field field, const QString& projectId, bool* ok = nullptr) const;
    // The project's bookings whose field equals value, ordered by instruction date.
    QList<Booking> withValue(const QString& projectId, Field field, const QString& value,
                             bool* ok = nullptr) const;
    // The project's bookings instructed from firstDay to lastDay (both included), ordered by PID.
    QList<Booking> instructedBetween(const QString& projectId, int firstDay, int lastDay,
                                     bool* ok = nullptr) const;
    // The project's bookings instructed on a day from firstDay to lastDay (both included), ordered by
    // PID; an instruction stored with a time of day counts on its day, as it is shown.
    QList<Booking> instructedOnDays(const QString& projectId, int firstDay, int lastDay,
                                    bool* ok = nullptr) const;
    // The booking of the project with this running number, company and instruction date.
    std::optional<Booking> find(const QString& projectId, int runningNumber, const QString& company,
                                std::optional<int> instructedOn, bool* ok = nullptr) const;
    std::optional<Booking> find(qint64 id, bool* ok = nullptr) const;
    // Returns the ID the database gave the new booking.
    std::optional<qint64> add(const Booking& booking);
    // Books a new booking of its project with the next running number in a transaction of its own,
    // tried once more when the file was busy. On success booking holds the stored ID and number.
    bool book(Booking& booking);
    // Within a transaction: adds the booking with the next running number of its project, read under
    // the project's lock. On success booking holds the stored ID and number.
    bool addNumbered(Booking& booking);
    // The same, with the rows that follow from the booking and a question read at once (see
    // Database::insertFollowed()).
    bool addNumbered(Booking& booking, const QList<Database::Statement>& followers,
                     const Database::Statement& question,
                     const std::function<void(const DatabaseRow&, int first)>& visit);
    // After a COMMIT whose answer the broken connection lost: whether the booking is stored with this
    // number (nullopt: cannot be read either).
    std::optional<bool> storedAs(qint64 id, int runningNumber) const;
    // The booking as stored now, to tell later whether another workstation changed it: null when it is
    // gone, nullopt when it cannot be read.
    std::optional<QString> stamp(qint64 id);
    // Within a transaction: true when the booking is still as stamp says; otherwise lastFailure() is
    // RowGone or Changed.
    bool stillAsLoaded(qint64 id, const QString& stamp);
    // The project's bookings whose Betrag is there but no amount ("abc", 1e308), in order of entry.
    QList<Booking> withUnreadableAmount(const QString& projectId, bool* ok = nullptr) const;
    bool remove(qint64 id);

private:
    static Database::Statement insertion(const Booking& booking);
    Database& m_db;
};
