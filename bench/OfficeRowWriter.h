#pragma once

#include "BulkWriter.h"
#include "Company.h"

#include <optional>
#include <QString>
#include <QStringList>

// Adds rows of the six tables to a database file that Database::create made, in one transaction.
class OfficeRowWriter {
public:
    struct BookingValues {
        int runningNumber = 0;
        QString projectId;
        QString project;
        QString company;
        QString trade;
        QString costGroup;
        int instructedOn = 0;
        std::optional<int> invoiceDate;
        QString invoiceNumber;
        QString paymentKind;
        QString remarks;
        qint64 cents = 0;
    };
    struct EstimateValues {
        int runningNumber = 0;
        QString projectId;
        QString project;
        QString company;
        QString trade;
        QString costGroup;
        std::optional<int> architectDate;
        std::optional<qint64> architectCents;
        std::optional<int> orderDate;
        QString orderKind;
        std::optional<qint64> orderCents;
    };

    bool open(const QString& filePath) { return m_writer.open(filePath); }
    // Creates a new file as the program does (schema, indexes, presets) and opens it; false with the
    // reason in *error when either fails.
    bool createAndOpen(const QString& filePath, QString* error);
    bool finish() { return m_writer.finish(); }
    QString lastError() const { return m_writer.lastError(); }

    QStringList trades();
    QStringList costGroups();
    bool addTrade(const QString& name);
    bool addCostGroup(const QString& name);
    // Returns the project's ID, or 0 on failure.
    qint64 addProject(const QString& name, int startDay);
    // Gives every project a budget of a share of the larger of what it has paid and what its orders
    // commit: 1.05 of it, and 0.95 for every fifth project (1, 6, 11, ...), which is then over budget.
    bool addBudgets();
    // Returns the company's ID, or 0 on failure.
    qint64 addCompany(const Company& company);
    bool addBooking(const BookingValues& booking);
    bool addEstimate(const EstimateValues& row);
    // Drops the indexes of the bookings and estimate rows until restoreIndexes creates them again as
    // they were, so that millions of rows are indexed in one sorted pass each instead of row by row.
    bool deferIndexes();
    bool restoreIndexes();

private:
    BulkWriter m_writer;
    QStringList m_deferredIndexes; // their CREATE statements
};
