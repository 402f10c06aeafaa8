#pragma once

#include "AsLoaded.h"
#include "Outcome.h"
#include "Transaction.h"

#include <functional>
#include <optional>

class Database;
class Session;

// The frame of each master-data operation: one transaction for the row and its name copies, the row
// checked to be still as loaded, the commit, and the session told of the change.
class MasterWrite {
public:
    explicit MasterWrite(Session& session);

    Database& database();
    // False when the transaction did not begin, or when the row, read now by stampNow, is no longer as
    // loaded; finish() then tells why.
    bool begin(const std::function<std::optional<QString>()>& stampNow = {}, const AsLoaded& loaded = {});
    // Commits when written; the outcome carries identity, or the store's failure.
    Outcome finish(bool written, std::optional<qint64> identity = std::nullopt);

private:
    Session& m_session;
    Transaction m_transaction;
};
