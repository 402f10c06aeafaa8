#pragma once

#include "EstimateRow.h"
#include "OrderTerms.h"

#include <optional>
#include <QString>

class Session;

// Reads the payment terms of a company's orders.
class OrderTermsReading {
public:
    // The terms of the company's main order in the project: its estimate row "Auftrag vom" of the highest
    // running number. nullopt when it has none or its order has no terms; ok, when given, is false when
    // the store could not be read.
    static std::optional<OrderTerms> forCompany(Session& session, const QString& projectId,
                                                const QString& company, bool* ok = nullptr);
    // The same, with the company's estimate rows in the project already read.
    static std::optional<OrderTerms> forCompany(Session& session, const QString& projectId,
                                                const QString& company, const QList<EstimateRow>& rows,
                                                bool* ok = nullptr);
    // The terms of the company's order numbered runningNumber.
    static std::optional<OrderTerms> forOrder(Session& session, const QString& projectId,
                                              const QString& company, int runningNumber, bool* ok = nullptr);
};
