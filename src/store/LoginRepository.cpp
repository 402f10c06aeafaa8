#include "LoginRepository.h"

#include "Database.h"
#include "PostgresRoles.h"

namespace {

const Right kAll[] = {Right::Read, Right::Record, Right::Confirm, Right::Order, Right::Administer};

}

QSet<Right> LoginRepository::held(bool* ok) const {
    QSet<Right> rights;
    if (ok)
        *ok = true;
    if (!m_db.onServer()) {
        for (Right right : kAll)
            rights.insert(right);
        return rights;
    }
    const bool read = m_db.read(PostgresRoles::heldRightsQuery(), {}, [&](const DatabaseRow& row) {
        for (Right right : kAll) {
            if (row.text(0) == rightWord(right))
                rights.insert(right);
        }
    });
    if (!read) {
        rights.clear();
        if (ok)
            *ok = false;
    }
    return rights;
}
