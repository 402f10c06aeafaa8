#pragma once

#include "BudgetFigures.h"
#include "EstimateRow.h"
#include "Money.h"
#include "ProjectLedger.h"

#include <optional>
#include <QDate>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

// The cost report of one project: for every company paid in the project, the architect's calculation,
// the main order, the supplements, the determined cost, the payments and their deviation from the
// calculation, and the closing sums. A company is every spelling of its name that differs only in letter
// case; its rows are counted once, whatever the register holds.
class CostReport {
public:
    struct Line {
        // Of the company's last booking; the cost group cut to its first nine characters.
        QString company;
        QString trade;
        QString costGroup;
        qint64 lastBookingId = 0;
        Money calculation;
        Money award;
        Money supplements;
        Money payments;
        // Whether the calculation, award and supplements columns show their amount or stay blank.
        bool calculationShown = false;
        bool awardShown = false;
        bool supplementsShown = false;

        Money determinedCost() const { return award + supplements; }
        Money deviation() const { return payments - calculation; }
        // 0 when there is no calculation.
        double deviationPercent() const;
    };

    struct Totals {
        Money calculation;
        Money award;
        Money supplements;
        Money determinedCost;
        Money payments;
        Money deviation;
        // Empty when the total calculation is 0.
        std::optional<double> deviationPercent() const;
    };

    static constexpr int kCostGroupLength = 9;

    // The companies' bookings added up and the estimate rows in NID order, both of one project.
    // budget: the project's; byInstructionDay: the same bookings added up per instruction day.
    static CostReport compute(const QList<ProjectLedger::CompanySum>& companies,
                              const QList<EstimateRow>& estimateRows,
                              const std::optional<Money>& budget = std::nullopt,
                              const QHash<int, Money>& byInstructionDay = {});
    // Reads the project's bookings and its estimate rows once each, leaving out the booking and the
    // estimate row that wait taken back. False when the file could not be read; the report then holds
    // what was read.
    static CostReport read(const ProjectLedger& ledger, const QString& projectId,
                           std::optional<qint64> leftOutBookingId, std::optional<qint64> leftOutEstimateRowId,
                           bool* ok = nullptr);
    // A main-order row, as "Auftrag vom": the kind's first seven characters are "Auftrag", in this case.
    static bool isMainOrder(const QString& orderKind);

    const QList<Line>& lines() const { return m_lines; }
    const Totals& totals() const { return m_totals; }
    // The budget beside all payments and the orders and supplements of every company of the project,
    // paid or not.
    BudgetFigures budgetFigures() const { return {m_budget, m_totals.payments, m_committed}; }
    // The payments per month of instruction, keyed by the month's first day.
    const QMap<QDate, Money>& paymentsByMonth() const { return m_paymentsByMonth; }

private:
    QList<Line> m_lines;
    Totals m_totals;
    std::optional<Money> m_budget;
    Money m_committed;
    QMap<QDate, Money> m_paymentsByMonth;
};
