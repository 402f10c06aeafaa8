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
    // The rows of one company in one project (ProjektID without surrounding blanks), ordered by NID.
    QList<EstimateRow> forProjectAndCompany(const QString& projectId, const QString& company,
                                            bool* ok = nullptr) const;
    // All rows of one project, ordered by NID and, within a NID, by entry.
    QList<EstimateRow> forProject(const QString& projectId, bool* ok = nullptr) const;
    // The highest NID of the company's rows in the project; 0 when there are none.
    int highestRunningNumber(const QString& projectId, const QString& company, bool* ok = nullptr) const;
    // Whether a row of the company in the project has this NID; nullopt when it cannot be read.
    std::optional<bool> holdsRunningNumber(const QString& projectId, const QString& company,
                                           int runningNumber) const;
    // The first row of the project with this NID and these two dates (nullopt matches an empty date).
    std::optional<EstimateRow> find(const QString& projectId, int runningNumber,
                                    std::optional<int> architectDate, std::optional<int> orderDate,
                                    bool* ok = nullptr) const;
    // Returns the engine's row number of the new row.
    std::optional<qint64> add(const EstimateRow& row);
    bool remove(qint64 rowId);
    // The row with this engine row number, whatever its project.
    std::optional<EstimateRow> find(qint64 rowId, bool* ok = nullptr) const;
    // Adds the row with the next NID of its project and company in a transaction of its own, tried once
    // more when the file was busy. On success row holds the stored row number and NID.
    bool book(EstimateRow& row);
    // Within a transaction: adds the row with the next NID of its project and company, read under the
    // project's lock. On success row holds the stored row number and NID.
    bool addNumbered(EstimateRow& row);
    // After a COMMIT whose answer the broken connection lost: whether the row is stored with this NID for
    // this company (nullopt: cannot be read either).
    std::optional<bool> storedAs(qint64 rowId, int runningNumber, const QString& company) const;
    // The row as stored now, to tell later whether another workstation changed it: null when it is
    // gone, nullopt when it cannot be read.
    std::optional<QString> stamp(qint64 rowId);
    // Within a transaction: true when the row is still as stamp says; otherwise lastFailure() is RowGone
    // or Changed.
    bool stillAsLoaded(qint64 rowId, const QString& stamp);
    // The project's rows with an amount that is there but no amount ("abc", 1e308), ordered by NID.
    QList<EstimateRow> withUnreadableAmount(const QString& projectId, bool* ok = nullptr) const;

private:
    Database& m_db;
};
