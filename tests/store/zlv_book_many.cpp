// One workstation for the concurrency test: books count bookings into project 1 of the database file at
// path through BookingRepository, as "&Buchen" does, and ends with 1 at the first booking refused.
#include "BookingRepository.h"
#include "Database.h"

#include <cstdio>
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: zlv_book_many <database file> <count>\n");
        return 2;
    }
    QString message;
    const std::unique_ptr<Database> db = Database::open(arguments.at(1), nullptr, &message);
    if (!db) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    BookingRepository bookings(*db);
    const int count = arguments.at(2).toInt();
    for (int i = 1; i <= count; ++i) {
        Booking booking;
        booking.projectId = QStringLiteral("1");
        booking.company = QStringLiteral("Arbeitsplatz %1").arg(QCoreApplication::applicationPid());
        booking.amount = Money::fromCents(i);
        if (!bookings.book(booking)) {
            std::fprintf(stderr, "booking %d: %s\n", i, qPrintable(db->lastError()));
            return 1;
        }
    }
    return 0;
}
