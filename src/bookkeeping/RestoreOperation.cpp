#include "RestoreOperation.h"

bool RestoreOperation::restorable(qint64) {
    return false;
}

Outcome RestoreOperation::restore(qint64, QString*) {
    return Outcome::failed(Outcome::Kind::Other, QStringLiteral("Wiederherstellen ist noch nicht möglich."));
}
