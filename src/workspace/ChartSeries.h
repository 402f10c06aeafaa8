#pragma once

#include "CostReport.h"
#include "Money.h"

#include <QDate>
#include <QList>
#include <QString>

// What the two charts of a project show, taken from its cost report: per company its calculation, its
// orders with their supplements and its payments, the companies paid most first, the largest few alone
// and the rest together as "Übrige"; and the payments per month with their running total.
class ChartSeries {
public:
    struct CompanyBar {
        QString label;
        Money calculation;
        Money committed;
        Money payments;
    };
    struct Month {
        QDate month; // its first day
        Money payments;
        // All payments up to the end of the month, earlier years included.
        Money runningTotal;
    };

    static constexpr int kLargest = 15;
    static const QString kOthers;

    // Ordered by payments, largest first (equal payments in the report's order).
    static QList<CompanyBar> companyBars(const CostReport& report, int largest = kLargest);
    // year 0: every month from the first payment to the last; else the twelve months of that year.
    static QList<Month> outflow(const CostReport& report, int year = 0);
    // The years with payments, in order.
    static QList<int> years(const CostReport& report);
    // "Jan 2024", "Mär 2025".
    static QString monthLabel(const QDate& month) {
        static const char* const names[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                            "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
        return QString::fromUtf8(names[month.month() - 1]) + QLatin1Char(' ') + QString::number(month.year());
    }
    // "Jan 24", "Mär 25", for an axis.
    static QString shortMonthLabel(const QDate& month) {
        return monthLabel(month).left(4) +
               QStringLiteral("%1").arg(month.year() % 100, 2, 10, QLatin1Char('0'));
    }
};
