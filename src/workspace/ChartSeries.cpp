#include "ChartSeries.h"

#include <algorithm>
#include <numeric>
#include <vector>

const QString ChartSeries::kOthers = QStringLiteral("Übrige");

QList<ChartSeries::CompanyBar> ChartSeries::companyBars(const CostReport& report, int largest) {
    const QList<CostReport::Line>& lines = report.lines();
    std::vector<int> order(size_t(lines.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lines.at(a).payments > lines.at(b).payments; });
    QList<CompanyBar> bars;
    for (size_t i = 0; i < order.size(); ++i) {
        const CostReport::Line& line = lines.at(order[i]);
        if (int(i) == largest)
            bars.append({kOthers, {}, {}, {}});
        CompanyBar& bar = int(i) < largest ? bars.emplaceBack() : bars.last();
        if (int(i) < largest)
            bar.label = line.company;
        bar.calculation += line.calculation;
        bar.committed += line.determinedCost();
        bar.payments += line.payments;
    }
    return bars;
}

QList<ChartSeries::Month> ChartSeries::outflow(const CostReport& report, int year) {
    const QMap<QDate, Money>& paid = report.paymentsByMonth();
    if (paid.isEmpty())
        return {};
    const QDate first = year ? QDate(year, 1, 1) : paid.firstKey();
    const QDate last = year ? QDate(year, 12, 1) : paid.lastKey();
    Money running;
    for (auto it = paid.cbegin(); it != paid.cend() && it.key() < first; ++it)
        running += it.value();
    QList<Month> months;
    for (QDate month = first; month <= last; month = month.addMonths(1)) {
        const Money payments = paid.value(month);
        running += payments;
        months.append({month, payments, running});
    }
    return months;
}

QList<int> ChartSeries::years(const CostReport& report) {
    QList<int> years;
    for (const QDate& month : report.paymentsByMonth().keys()) {
        if (years.isEmpty() || years.last() != month.year())
            years.append(month.year());
    }
    return years;
}
