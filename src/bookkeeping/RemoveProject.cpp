#include "RemoveProject.h"

#include "BudgetRepository.h"
#include "Journal.h"
#include "MasterWrite.h"
#include "ProjectRepository.h"

Outcome RemoveProject::run(qint64 id) {
    MasterWrite write(m_session);
    Database& db = write.database();
    return write.finish(write.begin() && Journal(db).label(task()) && BudgetRepository(db).remove(id) &&
                        ProjectRepository(db).remove(id));
}
