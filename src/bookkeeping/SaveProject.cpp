#include "SaveProject.h"

#include "BudgetRepository.h"
#include "MasterWrite.h"
#include "NameCascade.h"
#include "ProjectRepository.h"

Outcome SaveProject::add(const QString& name, std::optional<int> startDay,
                         const std::optional<Money>& budget) {
    MasterWrite write(m_session);
    Database& db = write.database();
    std::optional<qint64> id;
    const bool written = write.begin() && (id = ProjectRepository(db).add(name, startDay)) &&
                         BudgetRepository(db).store(*id, budget);
    return write.finish(written, id);
}

Outcome SaveProject::change(const Project& changed, const QString& oldName,
                            const std::optional<Money>& budget, const AsLoaded& loaded) {
    MasterWrite write(m_session);
    Database& db = write.database();
    const bool written = write.begin([&] { return ProjectRepository(db).stamp(changed.id); }, loaded) &&
                         BudgetRepository(db).store(changed.id, budget) &&
                         NameCascade(db).changeProject(changed, oldName);
    return write.finish(written, changed.id);
}
