#include "SaveNameEntry.h"

#include "MasterWrite.h"
#include "NameCascade.h"
#include "NameEntryRepository.h"

Outcome SaveNameEntry::add(const QString& name) {
    MasterWrite write(m_session);
    std::optional<qint64> id;
    const bool written =
        write.begin() && (id = NameEntryRepository(write.database(), tableOf(m_list)).add(name));
    return write.finish(written, id);
}

Outcome SaveNameEntry::change(const NameEntry& changed, const QString& oldName, const AsLoaded& loaded) {
    MasterWrite write(m_session);
    Database& db = write.database();
    NameCascade cascade(db);
    const bool written =
        write.begin([&] { return NameEntryRepository(db, tableOf(m_list)).stamp(changed.id); }, loaded) &&
        (m_list == NameList::Trades ? cascade.changeTrade(changed, oldName)
                                    : cascade.changeCostGroup(changed, oldName));
    return write.finish(written, changed.id);
}
