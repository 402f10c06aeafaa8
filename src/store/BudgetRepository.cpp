#include "BudgetRepository.h"

#include "Database.h"
#include "ProjectSums.h"
#include "StoredValue.h"

#include <algorithm>
#include <tuple>

namespace {

// Sums one amount field per project in cents. Values the engine holds as numbers are added by the
// engine; each distinct other value (a text in a file another program wrote) comes as a group of its
// own and is read as every list reads it.
QString groupedSum(const Database& db, const QString& table, const QString& field) {
    const QString odd = db.oddAmountCondition(field);
    return QStringLiteral("SELECT trim(ProjektID), CASE WHEN %1 THEN %2 END, "
                          "CAST(SUM(CASE WHEN %1 THEN 0 ELSE round(%2 * 100) END) AS BIGINT), COUNT(*) "
                          "FROM %3 GROUP BY trim(ProjektID), CASE WHEN %1 THEN %2 END")
        .arg(odd, field, table);
}

bool addUp(Database& db, const QString& sql, QHash<QString, BudgetRepository::Sums>& sums,
           Money BudgetRepository::Sums::*part) {
    return db.read(sql, {}, [&](const Database::Row& row) {
        Money& sum = sums[row.text(0)].*part;
        if (row.isNull(1)) {
            sum += Money::fromCents(row.rowNumber(2));
            return;
        }
        const std::optional<Money> each = row.amount(1);
        if (each)
            sum += Money::fromCents(each->cents() * row.rowNumber(3));
    });
}

} // namespace

std::optional<Money> BudgetRepository::find(qint64 projectId, bool* ok) const {
    const QList<std::optional<Money>> rows = StoredValue::rows<std::optional<Money>>(
        m_db, QStringLiteral("SELECT Budget FROM tblBudget WHERE ProjektID = ?"), {projectId}, ok,
        [](const Database::Row& row) { return row.amount(0); });
    return rows.isEmpty() ? std::nullopt : rows.first();
}

QHash<qint64, Money> BudgetRepository::all(bool* ok) const {
    QHash<qint64, Money> budgets;
    const bool ran = m_db.read(QStringLiteral("SELECT ProjektID, Budget FROM tblBudget"), {},
                               [&](const Database::Row& row) {
                                   if (const std::optional<Money> budget = row.amount(1))
                                       budgets.insert(row.rowNumber(0), *budget);
                               });
    if (ok)
        *ok = ran;
    return budgets;
}

bool BudgetRepository::store(qint64 projectId, const std::optional<Money>& budget) {
    if (!m_db.exec(QStringLiteral("DELETE FROM tblBudget WHERE ProjektID = ?"), {projectId}))
        return false;
    return !budget || m_db.exec(QStringLiteral("INSERT INTO tblBudget (ProjektID, Budget) VALUES (?, ?)"),
                                {projectId, StoredValue::bind(budget)});
}

bool BudgetRepository::remove(qint64 projectId) {
    return m_db.exec(QStringLiteral("DELETE FROM tblBudget WHERE ProjektID = ?"), {projectId});
}

QHash<QString, BudgetRepository::Sums> BudgetRepository::sumsByProject(bool* ok) const {
    QHash<QString, Sums> sums;
    // What the database keeps, while it is whole; its odd rows are read alone, as every list reads them.
    const ProjectSums kept(m_db);
    if (const auto projects = kept.read()) {
        bool read = true;
        for (auto project = projects->cbegin(); read && project != projects->cend(); ++project) {
            Sums& sum = sums[project.key()];
            for (qsizetype table = 0; read && table < project->size(); ++table) {
                // In the order of Schema::summed(): the bookings, then the estimate rows.
                Money& part = table == 0 ? sum.paid : sum.committed;
                part += Money::fromCents(project->at(table).cents);
                if (project->at(table).odd > 0)
                    read =
                        m_db.read(kept.oddRowsQuery(table, project.key()), {project.key()},
                                  [&](const Database::Row& row) { part += row.amount(0).value_or(Money()); });
            }
        }
        if (read) {
            if (ok)
                *ok = true;
            return sums;
        }
        sums.clear();
    }
    const bool ran =
        addUp(m_db, groupedSum(m_db, QStringLiteral("tblBuchung"), QStringLiteral("Betrag")), sums,
              &Sums::paid) &&
        addUp(m_db, groupedSum(m_db, QStringLiteral("tblNachtrag"), QStringLiteral("NachtragKosten")), sums,
              &Sums::committed);
    if (ok)
        *ok = ran;
    if (!ran)
        sums.clear();
    return sums;
}

bool BudgetRepository::readPayments(const QString& projectId, std::optional<qint64> leftOut,
                                    const QString& company, Money& total,
                                    QList<Booking>& companyBookings) const {
    const auto companyRow = [&](const Database::Row& row, int from) {
        Booking& booking = companyBookings.emplaceBack();
        booking.amount = row.amount(from);
        booking.invoiceNumber = row.text(from + 1);
        booking.runningNumber = row.integer(from + 2);
        booking.instructedOn = row.integer(from + 3);
        booking.company = row.text(from + 4);
        booking.id = row.rowNumber(from + 5);
    };
    const QVariant left = leftOut ? QVariant(*leftOut) : QVariant();
    // While the database keeps the project's sum whole, the total comes from it and only the company's
    // rows and the row left out are read.
    const ProjectSums kept(m_db);
    // In the order of Schema::summed(): the bookings first.
    QStringList spellings;
    if (const std::optional<ProjectSums::Kept> project = kept.readProject(0, projectId, company, spellings)) {
        const qsizetype listed = companyBookings.size();
        Money keptTotal = Money::fromCents(project->cents);
        bool read = true;
        if (project->odd > 0)
            read = m_db.read(kept.oddRowsQuery(0, projectId), {projectId},
                             [&](const Database::Row& row) { keptTotal += row.amount(0).value_or(Money()); });
        if (read && leftOut)
            read = m_db.read(
                QStringLiteral("SELECT Betrag FROM tblBuchung WHERE ID = ? AND trim(ProjektID) = ?"),
                {left, projectId},
                [&](const Database::Row& row) { keptTotal -= row.amount(0).value_or(Money()); });
        // Only the company's rows are read from the table, by the names the index holds.
        if (read && !spellings.isEmpty()) {
            QVariantList values{projectId, left};
            for (const QString& spelling : std::as_const(spellings))
                values.append(spelling);
            const QString places =
                QStringList(spellings.size(), QStringLiteral("?")).join(QStringLiteral(", "));
            read = m_db.read(
                QStringLiteral("SELECT Betrag, RechnungsNr, PID, AnweisungVom, Firma, ID FROM tblBuchung "
                               "WHERE trim(ProjektID) = ? AND ID IS DISTINCT FROM ? AND Firma IN (%1)")
                    .arg(places),
                values, [&](const Database::Row& row) { companyRow(row, 0); });
        }
        if (read) {
            // In the order of their running numbers, as the project's rows are listed.
            std::sort(companyBookings.begin() + listed, companyBookings.end(),
                      [](const Booking& a, const Booking& b) {
                          return std::tie(a.runningNumber, a.id) < std::tie(b.runningNumber, b.id);
                      });
            total += keptTotal;
            return true;
        }
        companyBookings.resize(listed);
    }
    // The engine tells the company's rows; only theirs are read beyond the amount.
    return m_db.read(QStringLiteral("SELECT CASE WHEN fold(Firma) = fold(?) THEN 1 ELSE 0 END, Betrag, "
                                    "RechnungsNr, PID, AnweisungVom, Firma, ID FROM tblBuchung "
                                    "WHERE trim(ProjektID) = ? AND ID IS DISTINCT FROM ?"),
                     {company, projectId, left}, [&](const Database::Row& row) {
                         total += row.amount(1).value_or(Money());
                         if (row.integer(0).value_or(0) != 0)
                             companyRow(row, 1);
                     });
}
