#include "OrderTermsReading.h"

#include "CompanyRepository.h"
#include "Database.h"
#include "EstimateRepository.h"
#include "OrderTermsRepository.h"
#include "Session.h"

namespace {

bool isMainOrder(const EstimateRow& row) {
    return row.orderKind.startsWith(QStringLiteral("Auftrag"));
}

} // namespace

std::optional<OrderTerms> OrderTermsReading::forCompany(Session& session, const QString& projectId,
                                                        const QString& company, bool* ok) {
    bool read = true;
    const QList<EstimateRow> rows =
        EstimateRepository(session.database()).forProjectAndCompany(projectId.trimmed(), company, &read);
    if (!read) {
        if (ok)
            *ok = false;
        return std::nullopt;
    }
    return forCompany(session, projectId, company, rows, ok);
}

std::optional<OrderTerms> OrderTermsReading::forCompany(Session& session, const QString& projectId,
                                                        const QString& company,
                                                        const QList<EstimateRow>& rows, bool* ok) {
    std::optional<int> main;
    for (const EstimateRow& row : rows) {
        if (isMainOrder(row) && row.runningNumber && (!main || *row.runningNumber > *main))
            main = row.runningNumber;
    }
    if (ok)
        *ok = true;
    if (!main)
        return std::nullopt;
    return forOrder(session, projectId, company, *main, ok);
}

std::optional<OrderTerms> OrderTermsReading::forOrder(Session& session, const QString& projectId,
                                                      const QString& company, int runningNumber, bool* ok) {
    Database& db = session.database();
    bool read = true;
    const std::optional<Company> found = CompanyRepository(db).findByName(company, &read);
    std::optional<OrderTerms> terms;
    if (read && found)
        terms = OrderTermsRepository(db).find(projectId, found->id, runningNumber, &read);
    if (ok)
        *ok = read;
    return terms;
}
