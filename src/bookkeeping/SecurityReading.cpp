#include "SecurityReading.h"

#include "CompanyRepository.h"
#include "Database.h"
#include "EstimateRepository.h"
#include "GermanCollator.h"
#include "OrderTermsRepository.h"
#include "Percent.h"
#include "RetentionProposal.h"
#include "RetentionRepository.h"
#include "SameName.h"
#include "SecurityRepository.h"
#include "Session.h"

#include <algorithm>
#include <QHash>
#include <QMap>

namespace {

const QString kPerformance = QStringLiteral("Vertragserfüllung");
const QString kDefects = QStringLiteral("Mängelansprüche");
const QString kGuarantee = QStringLiteral("Bürgschaft");

// What one company stands at for one kind.
struct Account {
    QString company;
    QString kind;
    Money agreed;
    Money retained;
    Money guaranteed;
    bool due = false;
    QList<Security> securities;
};

class Accounts {
public:
    Account& of(const QString& company, const QString& kind) {
        const QString key = SameName::fold(company) + QChar(0x1f) + kind;
        auto found = m_index.constFind(key);
        if (found != m_index.cend())
            return m_accounts[*found];
        m_index.insert(key, m_accounts.size());
        m_accounts.append({company, kind, {}, {}, {}, false, {}});
        return m_accounts.last();
    }
    QList<Account>& all() { return m_accounts; }

private:
    QList<Account> m_accounts;
    QHash<QString, qsizetype> m_index;
};

// The terms of each company's main order: the "Auftrag" of the highest running number.
QList<OrderTerms> mainTerms(const QList<OrderTerms>& terms, const QList<EstimateRow>& rows,
                            const QHash<qint64, QString>& names) {
    QHash<QString, int> mainOrder;
    for (const EstimateRow& row : rows) {
        const QString company = SameName::fold(row.company);
        if (RetentionProposal::isMainOrder(row.orderKind) && row.runningNumber)
            mainOrder[company] = std::max(mainOrder.value(company), *row.runningNumber);
    }
    QList<OrderTerms> found;
    for (const OrderTerms& each : terms) {
        if (mainOrder.value(SameName::fold(names.value(each.companyId)), -1) == each.runningNumber)
            found.append(each);
    }
    return found;
}

} // namespace

Reading<QList<SecurityReading::Line>> SecurityReading::ofProject(Session& session, const QString& projectId,
                                                                 int today) {
    Database& db = session.database();
    bool ok = true;
    const QList<OrderTerms> terms = OrderTermsRepository(db).forProject(projectId, &ok);
    const QList<Security> securities =
        ok ? SecurityRepository(db).forProject(projectId, &ok) : QList<Security>();
    const QList<RetentionRepository::Paid> retained =
        ok ? RetentionRepository(db).retainedInProject(projectId, &ok) : QList<RetentionRepository::Paid>();
    QHash<qint64, QString> names;
    CompanyRepository companies(db);
    for (const qint64 id : [&] {
             QList<qint64> ids;
             for (const OrderTerms& each : terms)
                 ids.append(each.companyId);
             for (const Security& each : securities)
                 ids.append(each.companyId);
             return ids;
         }()) {
        if (ok && !names.contains(id)) {
            const std::optional<Company> company = companies.find(id, &ok);
            names.insert(id, company ? company->name : QString());
        }
    }
    const QList<EstimateRow> rows = ok && !terms.isEmpty()
                                        ? EstimateRepository(db).forProject(projectId.trimmed(), &ok)
                                        : QList<EstimateRow>();
    if (!ok)
        return {{}, false, db.lastError()};

    Accounts accounts;
    for (const RetentionRepository::Paid& paid : retained) {
        if (paid.retentionKind == kPerformance || paid.retentionKind == kDefects)
            accounts.of(paid.company, paid.retentionKind).retained += paid.retention;
    }
    for (const Security& security : securities) {
        Account& account = accounts.of(names.value(security.companyId), security.kind);
        account.securities.append(security);
        if (security.form == kGuarantee && security.receivedOn && !security.returnedOn)
            account.guaranteed += security.amount.value_or(Money());
    }
    for (const OrderTerms& each : mainTerms(terms, rows, names)) {
        const QString company = names.value(each.companyId);
        QList<EstimateRow> own;
        for (const EstimateRow& row : rows) {
            if (SameName::equal(row.company, company))
                own.append(row);
        }
        const Money orderSum = RetentionProposal::orderSum(own);
        if (each.performancePercent.value_or(0) > 0) {
            Account& account = accounts.of(company, kPerformance);
            account.agreed = percentOf(orderSum, *each.performancePercent);
            account.due = true;
        }
        if (each.defectsPercent.value_or(0) > 0) {
            const QList<RetentionRepository::Paid> paid =
                RetentionRepository(db).ofCompany(projectId, company, &ok);
            if (!ok)
                return {{}, false, db.lastError()};
            const RetentionProposal::Standing standing = RetentionProposal::standing(orderSum, paid);
            const bool finalPaid =
                std::any_of(paid.cbegin(), paid.cend(), [](const RetentionRepository::Paid& p) {
                    return RetentionProposal::isFinalPayment(p.paymentKind);
                });
            Account& account = accounts.of(company, kDefects);
            account.agreed = percentOf(finalPaid ? standing.grossSoFar : orderSum, *each.defectsPercent);
            account.due = finalPaid;
        }
    }

    QList<Account>& all = accounts.all();
    const QCollator collator = GermanCollator::make();
    std::stable_sort(all.begin(), all.end(), [&](const Account& a, const Account& b) {
        const int byName = collator.compare(a.company, b.company);
        if (byName != 0)
            return byName < 0;
        return a.kind == kPerformance && b.kind != kPerformance;
    });
    QList<Line> lines;
    for (const Account& account : std::as_const(all)) {
        const bool missing = account.due && account.retained + account.guaranteed < account.agreed;
        if (account.securities.isEmpty())
            lines.append({account.company, account.kind, account.agreed, account.retained, std::nullopt,
                          false, missing});
        for (const Security& security : account.securities) {
            const bool returnDue =
                security.returnDueOn && *security.returnDueOn <= today && !security.returnedOn;
            lines.append({account.company, account.kind, account.agreed, account.retained, security,
                          returnDue, missing});
        }
    }
    return {lines};
}
