#include "CostReport.h"

#include "DayNumber.h"
#include "GermanCollator.h"
#include "SameName.h"

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

CostReport CostReport::compute(const QList<ProjectLedger::CompanySum>& companies,
                               const QList<EstimateRow>& estimateRows, const std::optional<Money>& budget,
                               const QHash<int, Money>& byInstructionDay) {
    std::vector<Group> groups;
    groups.reserve(size_t(companies.size()));
    QHash<QString, int> byFoldedName;
    byFoldedName.reserve(companies.size());
    for (const ProjectLedger::CompanySum& company : companies) {
        Group& group = groups.emplace_back();
        group.foldedName = SameName::fold(company.company);
        Line& line = group.line;
        line.company = company.company;
        line.trade = company.trade;
        line.costGroup = company.costGroup.left(kCostGroupLength);
        line.lastBookingId = company.lastBookingId;
        line.payments = company.amount;
        byFoldedName.insert(group.foldedName, int(groups.size()) - 1);
    }
    for (const EstimateRow& row : estimateRows) {
        if (const int found = byFoldedName.value(SameName::fold(row.company), -1); found >= 0)
            addEstimate(groups[size_t(found)], row);
    }
    sortByName(groups);

    CostReport report;
    report.m_budget = budget;
    for (const EstimateRow& row : estimateRows)
        report.m_committed += row.orderCost.value_or(Money());
    for (auto day = byInstructionDay.cbegin(); day != byInstructionDay.cend(); ++day) {
        const QDate date = DayNumber::toDate(day.key());
        report.m_paymentsByMonth[QDate(date.year(), date.month(), 1)] += day.value();
    }
    report.m_lines.reserve(qsizetype(groups.size()));
    Totals& totals = report.m_totals;
    for (Group& group : groups) {
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

CostReport CostReport::read(const ProjectLedger& ledger, const QString& projectId,
                            std::optional<qint64> leftOutBookingId,
                            std::optional<qint64> leftOutEstimateRowId, bool* ok) {
    const ProjectLedger::CostInput input =
        ledger.costInput(projectId, leftOutBookingId, leftOutEstimateRowId, ok);
    return compute(input.companies, input.estimateRows, input.budget, input.byInstructionDay);
}
