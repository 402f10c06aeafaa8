#include "Registers.h"

#include "BudgetRepository.h"
#include "CompanyRepository.h"
#include "Database.h"
#include "ProjectRepository.h"
#include "Session.h"

Registers::Registers(Session& session) : m_db(session.database()) {}

template <class T> Reading<T> Registers::reading(T value, bool ok) const {
    return {std::move(value), ok, ok ? QString() : m_db.lastError()};
}

// The stamp is read before the row, so that a change in between is caught when the row is saved.
template <class Row>
Reading<std::optional<Loaded<Row>>>
Registers::forEditing(const std::optional<QString>& stamp,
                      const std::function<std::optional<Row>(bool*)>& find) const {
    bool ok = stamp.has_value();
    const std::optional<Row> row = ok ? find(&ok) : std::nullopt;
    if (!ok || !row || stamp->isNull())
        return reading(std::optional<Loaded<Row>>(), ok);
    return reading(std::optional<Loaded<Row>>(Loaded<Row>{*row, AsLoaded(*stamp)}), true);
}

Reading<Registers::ProjectList> Registers::projects(const QString& search) const {
    bool ok = true;
    ProjectList list;
    list.projects = search.isEmpty() ? ProjectRepository(m_db).newestFirst(&ok)
                                     : ProjectRepository(m_db).search(search, &ok);
    BudgetRepository budgets(m_db);
    bool budgetsOk = true;
    bool sumsOk = true;
    const QHash<qint64, Money> budget = budgets.all(&budgetsOk);
    const QHash<QString, BudgetRepository::Sums> sums = budgets.sumsByProject(&sumsOk);
    list.figures.reserve(list.projects.size());
    for (const Project& project : std::as_const(list.projects)) {
        const BudgetRepository::Sums sum = sums.value(QString::number(project.id));
        list.figures.insert(
            project.id,
            {budget.contains(project.id) ? std::optional<Money>(budget.value(project.id)) : std::nullopt,
             sum.paid, sum.committed});
    }
    return reading(std::move(list), ok && budgetsOk && sumsOk);
}

Reading<std::optional<Project>> Registers::project(qint64 id) const {
    bool ok = true;
    std::optional<Project> project = ProjectRepository(m_db).find(id, &ok);
    return reading(std::move(project), ok);
}

Reading<std::optional<Loaded<Registers::BudgetedProject>>> Registers::projectForEditing(qint64 id) const {
    return forEditing<BudgetedProject>(
        ProjectRepository(m_db).stamp(id), [&](bool* ok) -> std::optional<BudgetedProject> {
            const std::optional<Project> project = ProjectRepository(m_db).find(id, ok);
            if (!*ok || !project)
                return std::nullopt;
            const std::optional<Money> budget = BudgetRepository(m_db).find(id, ok);
            return BudgetedProject{*project, budget};
        });
}

Reading<QList<Company>> Registers::companies(const QString& search, bool fromLeft) const {
    bool ok = true;
    QList<Company> companies =
        search.isEmpty() ? CompanyRepository(m_db).byId(&ok)
                         : CompanyRepository(m_db).search(search,
                                                          fromLeft ? CompanyRepository::SearchFrom::Left
                                                                   : CompanyRepository::SearchFrom::Anywhere,
                                                          &ok);
    return reading(std::move(companies), ok);
}

Reading<QList<Company>> Registers::companiesByName() const {
    bool ok = true;
    QList<Company> companies = CompanyRepository(m_db).byName(&ok);
    return reading(std::move(companies), ok);
}

Reading<std::optional<Company>> Registers::company(qint64 id) const {
    bool ok = true;
    std::optional<Company> company = CompanyRepository(m_db).find(id, &ok);
    return reading(std::move(company), ok);
}

Reading<std::optional<Company>> Registers::companyNamed(const QString& name) const {
    bool ok = true;
    std::optional<Company> company = CompanyRepository(m_db).findByName(name, &ok);
    return reading(std::move(company), ok);
}

Reading<std::optional<Loaded<Company>>> Registers::companyForEditing(qint64 id) const {
    return forEditing<Company>(CompanyRepository(m_db).stamp(id),
                               [&](bool* ok) { return CompanyRepository(m_db).find(id, ok); });
}

Reading<QList<NameEntry>> Registers::names(NameList list) const {
    bool ok = true;
    QList<NameEntry> entries = NameEntryRepository(m_db, tableOf(list)).byName(&ok);
    return reading(std::move(entries), ok);
}

Reading<QList<NameEntry>> Registers::namesInOrderOfEntry(NameList list) const {
    bool ok = true;
    QList<NameEntry> entries = NameEntryRepository(m_db, tableOf(list)).byId(&ok);
    return reading(std::move(entries), ok);
}

Reading<std::optional<NameEntry>> Registers::name(NameList list, qint64 id) const {
    bool ok = true;
    std::optional<NameEntry> entry = NameEntryRepository(m_db, tableOf(list)).find(id, &ok);
    return reading(std::move(entry), ok);
}

Reading<std::optional<Loaded<NameEntry>>> Registers::nameForEditing(NameList list, qint64 id) const {
    return forEditing<NameEntry>(NameEntryRepository(m_db, tableOf(list)).stamp(id), [&](bool* ok) {
        return NameEntryRepository(m_db, tableOf(list)).find(id, ok);
    });
}
