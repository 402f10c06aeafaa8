#pragma once

#include "AsLoaded.h"
#include "EstimateRow.h"
#include "Outcome.h"

#include <optional>

class Session;

// The work on a company's estimate rows (cost calculations, orders, supplements): booking a row (new, or
// as the correction of one taken back), taking a row back for correction and removing one. Each write
// runs in one transaction of its own, tried once more when the file was busy, and tells the session.
class EstimateOperation {
public:
    explicit EstimateOperation(Session& session) : m_session(session) {}

    // Books row with the next running number of its project and company. When replacing is given, the
    // row taken back is removed in the same transaction, only while it is still as loaded (Changed
    // otherwise, Gone when it was removed). On success row holds the stored row number and number.
    Outcome book(EstimateRow& row, const std::optional<AsLoaded>& replacing = std::nullopt);
    // Reads the row for correction, its state read first so that a change in between is caught; nullopt
    // when it is gone or cannot be read (failure tells which).
    std::optional<Loaded<EstimateRow>> takeBack(qint64 rowId, Outcome* failure = nullptr);
    Outcome remove(qint64 rowId);

private:
    Session& m_session;
};
