#include "Outcome.h"

#include "Database.h"

Outcome Outcome::done(std::optional<qint64> identity) {
    Outcome outcome;
    outcome.m_identity = identity;
    return outcome;
}

Outcome Outcome::failed(Kind kind, const QString& germanText) {
    Outcome outcome;
    outcome.m_kind = kind == Kind::Done ? Kind::Other : kind;
    outcome.m_text = germanText;
    return outcome;
}

Outcome Outcome::ofStore(const Database& db) {
    switch (db.lastFailure()) {
    case Database::Failure::Busy:
        return failed(Kind::Busy, db.lastError());
    case Database::Failure::RowGone:
        return failed(Kind::Gone, db.lastError());
    case Database::Failure::FileGone:
        return failed(Kind::FileGone, db.lastError());
    case Database::Failure::Changed:
        return failed(Kind::Changed, db.lastError());
    case Database::Failure::NameGone:
        return failed(Kind::NameGone, db.lastError());
    case Database::Failure::OutcomeUnknown:
        return failed(Kind::Unknown, db.lastError());
    case Database::Failure::None:
    case Database::Failure::Other:
        break;
    }
    return failed(Kind::Other, db.lastError());
}
