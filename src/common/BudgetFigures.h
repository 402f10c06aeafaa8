#pragma once

#include "Money.h"

#include <algorithm>
#include <optional>

// A project's budget beside what it has paid and what its orders and supplements commit: what remains
// of the budget is measured against the larger of the two, and so is the share used.
struct BudgetFigures {
    std::optional<Money> budget;
    Money paid;
    Money committed;

    Money used() const { return std::max(paid, committed); }
    // Budget minus the larger of paid and committed; none without a budget.
    std::optional<Money> remaining() const {
        return budget ? std::optional<Money>(*budget - used()) : std::nullopt;
    }
    // The share of the budget used, in per cent; none without a budget or with a budget of 0.
    std::optional<double> sharePercent() const {
        if (!budget || budget->cents() == 0)
            return std::nullopt;
        return double(used().cents()) / double(budget->cents()) * 100.0;
    }
    bool overBudget() const { return budget && used() > *budget; }
};
