#include "CostReport.h"

#include "BookingRepository.h"
#include "EstimateRepository.h"
#include "GermanCollator.h"
#include "PatternMatcher.h"

#include <algorithm>
#include <numeric>
#include <QCollator>
#include <QHash>
#include <vector>

namespace {

const QString kMainOrderKind = QStringLiteral("Auftrag");

struct Group {
    QString foldedName;
    CostReport::Line line;
    std::optional<int> calculationDate;
    std::optional<int> awardDate;
    std::optional<int> lastOrderDate;
};

// The companies of the bookings, one per name ignoring case. A spelling seen once is found again
// without folding it anew, as a project's bookings repeat few names many times.
class Groups {
public:
    int findOrAdd(const QString& name) {
        if (const auto known = m_bySpelling.constFind(name); known != m_bySpelling.cend())
            return *known;
        const QString folded = PatternMatcher::fold(name);
        int index = m_byFoldedName.value(folded, -1);
        if (index < 0) {
            index = int(m_groups.size());
            m_groups.push_back(Group{folded, {}, {}, {}, {}});
            m_byFoldedName.insert(folded, index);
        }
        m_bySpelling.insert(name, index);
        return index;
    }
    // -1 for a name without bookings.
    int find(const QString& name) const {
        if (const auto known = m_bySpelling.constFind(name); known != m_bySpelling.cend())
            return *known;
        return m_byFoldedName.value(PatternMatcher::fold(name), -1);
    }
    std::vector<Group>& all() { return m_groups; }

private:
    std::vector<Group> m_groups;
    QHash<QString, int> m_bySpelling;
    QHash<QString, int> m_byFoldedName;
};

void addEstimate(Group& group, const EstimateRow& row) {
    CostReport::Line& line = group.line;
    group.lastOrderDate = row.orderDate;
    if (CostReport::isMainOrder(row.orderKind)) {
        group.calculationDate = row.architectDate;
        line.calculation += row.architectCost.value_or(Money());
        group.awardDate = row.orderDate;
        line.award += row.orderCost.value_or(Money());
    } else {
        line.supplements += row.orderCost.value_or(Money());
    }
}

// In German alphabetical order of the shown names; names the collator holds equal keep one fixed order.
void sortByName(std::vector<Group>& groups) {
    const QCollator collator = GermanCollator::make();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(groups.size());
    for (const Group& group : groups)
        keys.push_back(collator.sortKey(group.line.company));
    std::vector<int> order(groups.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int byName = keys[a].compare(keys[b]);
        if (byName != 0)
            return byName < 0;
        return groups[a].foldedName < groups[b].foldedName;
    });
    std::vector<Group> sorted;
    sorted.reserve(groups.size());
    for (const int index : order)
        sorted.push_back(std::move(groups[index]));
    groups = std::move(sorted);
}

} // namespace

double CostReport::Line::deviationPercent() const {
    if (calculation.cents() == 0)
        return 0.0;
    return double(deviation().cents()) / double(calculation.cents()) * 100.0;
}

std::optional<double> CostReport::Totals::deviationPercent() const {
    if (calculation.cents() == 0)
        return std::nullopt;
    return double(deviation.cents()) / double(calculation.cents()) * 100.0;
}

bool CostReport::isMainOrder(const QString& orderKind) {
    return orderKind.startsWith(kMainOrderKind, Qt::CaseSensitive);
}

CostReport CostReport::compute(const QList<Booking>& bookings, const QList<EstimateRow>& estimateRows) {
    Groups groups;
    for (const Booking& booking : bookings) {
        Group& group = groups.all()[groups.findOrAdd(booking.company)];
        Line& line = group.line;
        line.company = booking.company;
        line.trade = booking.trade;
        line.costGroup = booking.costGroup.left(kCostGroupLength);
        line.lastBookingId = booking.id;
        line.payments += booking.amount.value_or(Money());
    }
    for (const EstimateRow& row : estimateRows) {
        const int index = groups.find(row.company);
        if (index >= 0)
            addEstimate(groups.all()[index], row);
    }
    sortByName(groups.all());

    CostReport report;
    report.m_lines.reserve(qsizetype(groups.all().size()));
    Totals& totals = report.m_totals;
    for (Group& group : groups.all()) {
        Line& line = group.line;
        line.calculationShown = group.calculationDate && line.calculation.cents() != 0;
        line.awardShown = group.awardDate && line.award.cents() != 0;
        line.supplementsShown = group.lastOrderDate && line.supplements.cents() != 0;
        if (line.calculationShown)
            totals.calculation += line.calculation;
        if (line.awardShown)
            totals.award += line.award;
        if (line.supplementsShown)
            totals.supplements += line.supplements;
        totals.determinedCost += line.determinedCost();
        totals.payments += line.payments;
        totals.deviation += line.deviation();
        report.m_lines.append(std::move(line));
    }
    return report;
}

CostReport CostReport::read(Database& db, const QString& projectId, std::optional<qint64> leftOutBookingId,
                            bool* ok) {
    bool bookingsRead = true;
    bool estimatesRead = true;
    QList<Booking> bookings = BookingRepository(db).forProject(projectId, &bookingsRead);
    if (leftOutBookingId) {
        const qint64 leftOut = *leftOutBookingId;
        bookings.removeIf([leftOut](const Booking& booking) { return booking.id == leftOut; });
    }
    const QList<EstimateRow> estimateRows = EstimateRepository(db).forProject(projectId, &estimatesRead);
    if (ok)
        *ok = bookingsRead && estimatesRead;
    return compute(bookings, estimateRows);
}
