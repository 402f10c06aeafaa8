#pragma once

#include "Money.h"

#include <optional>
#include <QList>
#include <QString>
#include <QtGlobal>

class Database;

// Reads what the companies' payments in a project came to and what was retained from them, from the
// bookings and the payment data beside them. Failure reporting as ProjectRepository.
class RetentionRepository {
public:
    // A booking of a company with its payment data: the gross amount is the booking's amount where it
    // has none.
    struct Paid {
        qint64 bookingId = 0;
        QString project;
        QString company;
        QString trade;
        QString costGroup;
        QString paymentKind;
        std::optional<int> instructedOn;
        Money gross;
        Money retention;
        QString retentionKind;
        std::optional<qint64> securityId;
    };

    explicit RetentionRepository(Database& database) : m_db(database) {}

    // The company's bookings in the project (name compared ignoring case), in order of entry.
    QList<Paid> ofCompany(const QString& projectId, const QString& company, bool* ok = nullptr) const;
    // The project's bookings that retained or released anything, in order of entry.
    QList<Paid> retainedInProject(const QString& projectId, bool* ok = nullptr) const;

private:
    Database& m_db;
};
