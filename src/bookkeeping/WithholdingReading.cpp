#include "WithholdingReading.h"

#include "Database.h"
#include "DayNumber.h"
#include "GermanCollator.h"
#include "Session.h"
#include "WithholdingRepository.h"

#include <algorithm>

Reading<QList<WithheldPayment>> WithholdingReading::ofYear(Session& session, int year) {
    bool ok = true;
    Database& db = session.database();
    QList<WithheldPayment> payments = WithholdingRepository(db).withheld(
        DayNumber::fromDate(QDate(year, 1, 1)), DayNumber::fromDate(QDate(year, 12, 31)), &ok);
    return {std::move(payments), ok, ok ? QString() : db.lastError()};
}

QList<WithholdingReading::Month> WithholdingReading::byMonth(const QList<WithheldPayment>& payments) {
    QList<Month> months;
    for (const WithheldPayment& payment : payments) {
        const QDate day = DayNumber::toDate(payment.booking.instructedOn.value_or(0));
        const QString office = payment.taxOffice.trimmed();
        auto month = std::find_if(months.begin(), months.end(), [&](const Month& each) {
            return each.year == day.year() && each.month == day.month() && each.taxOffice == office;
        });
        if (month == months.end()) {
            months.append({day.year(), day.month(), office, dueOn(day.year(), day.month()), Money(), {}});
            month = months.end() - 1;
        }
        month->sum += payment.withheld;
        month->payments.append(payment);
    }
    const QCollator collator = GermanCollator::make();
    std::stable_sort(months.begin(), months.end(), [&](const Month& a, const Month& b) {
        if (a.year != b.year || a.month != b.month)
            return std::pair{a.year, a.month} < std::pair{b.year, b.month};
        return collator.compare(a.taxOffice, b.taxOffice) < 0;
    });
    return months;
}

int WithholdingReading::dueOn(int year, int month) {
    return DayNumber::fromDate(QDate(year, month, 1).addMonths(1).addDays(9));
}
