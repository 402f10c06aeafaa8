// One workstation for the concurrency tests: books count bookings into project 1 of the database at
// path through the booking operation, as "&Buchen" does, and ends with 1 at the first booking refused. Given
// a company of the register, it books for that company until the booking is refused because the company is no
// longer in the register, and prints how many it stored.
#include "BookingOperation.h"
#include "Session.h"

#include <cstdio>
#include <QCoreApplication>
#include <QThread>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3 && arguments.size() != 4) {
        std::fprintf(stderr, "usage: zlv_book_many <database> <count> [company]\n");
        return 2;
    }
    QString message;
    const std::unique_ptr<Session> session = Session::open(arguments.at(1), &message);
    if (!session) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    BookingOperation bookings(*session);
    const int count = arguments.at(2).toInt();
    const bool forCompany = arguments.size() == 4;
    for (int i = 1; i <= count; ++i) {
        Booking booking;
        booking.projectId = QStringLiteral("1");
        booking.company = forCompany
                              ? arguments.at(3)
                              : QStringLiteral("Arbeitsplatz %1").arg(QCoreApplication::applicationPid());
        booking.amount = Money::fromCents(i);
        if (const Outcome booked = bookings.book(booking, std::nullopt, forCompany); !booked.ok()) {
            if (forCompany && booked.kind() == Outcome::Kind::NameGone) {
                std::printf("%d\n", i - 1);
                return 0;
            }
            std::fprintf(stderr, "booking %d: %s\n", i, qPrintable(booked.text()));
            return 1;
        }
        // A clerk's pace leaves room between the bookings for the other workstations' changes.
        if (forCompany)
            QThread::msleep(5);
    }
    return forCompany ? 1 : 0;
}
