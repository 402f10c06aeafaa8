#include "SignOffOperation.h"

Outcome SignOffOperation::confirm(const QList<qint64>&) {
    return Outcome::failed(Outcome::Kind::Refused, QStringLiteral("Noch nicht verfügbar."));
}

Outcome SignOffOperation::order(const QList<qint64>&) {
    return Outcome::failed(Outcome::Kind::Refused, QStringLiteral("Noch nicht verfügbar."));
}

Outcome SignOffOperation::markPaid(const QList<qint64>&, int) {
    return Outcome::failed(Outcome::Kind::Refused, QStringLiteral("Noch nicht verfügbar."));
}

Outcome SignOffOperation::cancel(qint64, const QString&) {
    return Outcome::failed(Outcome::Kind::Refused, QStringLiteral("Noch nicht verfügbar."));
}

Outcome SignOffOperation::saveRules(const SignOffRules&) {
    return Outcome::failed(Outcome::Kind::Refused, QStringLiteral("Noch nicht verfügbar."));
}
