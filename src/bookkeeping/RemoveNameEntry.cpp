#include "RemoveNameEntry.h"

#include "MasterWrite.h"
#include "NameEntryRepository.h"

Outcome RemoveNameEntry::run(qint64 id) {
    MasterWrite write(m_session);
    return write.finish(write.begin() && NameEntryRepository(write.database(), tableOf(m_list)).remove(id));
}
