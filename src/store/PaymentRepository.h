#pragma once

#include "Database.h"
#include "Payment.h"

#include <optional>
#include <QList>
#include <QString>
#include <utility>

// Reads and writes tblZahlung, the payment data beside each booking that has any. Failure reporting as
// ProjectRepository; the writes run within the caller's transaction.
class PaymentRepository {
public:
    explicit PaymentRepository(Database& database) : m_db(database) {}

    // The booking's payment; nullopt when it has none (or, ok false, the file cannot be read).
    std::optional<Payment> find(qint64 bookingId, bool* ok = nullptr) const;
    // The project's payments in order of entry of their bookings, through the index on the project.
    QList<Payment> forProject(const QString& projectId, bool* ok = nullptr) const;
    // The Skonto the company's orders in the project agree, each as its percentage in hundredths and its
    // days, through the index of the order terms on the project.
    QList<std::pair<int, int>> agreedDiscounts(const QString& projectId, const QString& company,
                                               bool* ok = nullptr) const;
    // The same as a question for Database::insertFollowed(), and what one of its rows, read from column
    // first, agrees for company (nullopt: the row is another company's).
    static Database::Statement agreedDiscountsQuestion(const QString& projectId);
    static std::optional<std::pair<int, int>> agreedDiscount(const DatabaseRow& row, int first,
                                                             const QString& company);
    // The statement that stores payment as the follower of its booking's insert.
    static Database::Statement addition(const Payment& payment);
    // Stores payment for payment.bookingId, its project trimmed as the sign-off keeps it.
    bool add(const Payment& payment);
    bool remove(qint64 bookingId);

private:
    Database& m_db;
};
