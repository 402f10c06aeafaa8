#pragma once

#include "EstimateRow.h"

#include <optional>
#include <QList>

class Database;

// Reads and writes tblNachtrag. Stored names handed in are compared for equality ignoring case.
// Failure reporting as ProjectRepository.
class EstimateRepository {
public:
    explicit EstimateRepository(Database& database) : m_db(database) {}

    QList<EstimateRow> all(bool* ok = nullptr) const;
    // The rows of one company in one project, ordered by NID.
    QList<EstimateRow> forProjectAndCompany(const QString& projectId, const QString& company,
                                            bool* ok = nullptr) const;
    // The highest NID of the company's rows in the project; 0 when there are none.
    int highestRunningNumber(const QString& projectId, const QString& company, bool* ok = nullptr) const;
    // The first row of the project with this NID and these two dates (nullopt matches an empty date).
    std::optional<EstimateRow> find(const QString& projectId, int runningNumber,
                                    std::optional<int> architectDate, std::optional<int> orderDate,
                                    bool* ok = nullptr) const;
    // Returns the engine's row number of the new row.
    std::optional<qint64> add(const EstimateRow& row);
    bool remove(qint64 rowId);

private:
    Database& m_db;
};
