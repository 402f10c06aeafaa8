#include "RetentionProposal.h"

Retention RetentionProposal::propose(Session&, const QString&, const QString&, const QString&, Money,
                                     qint64) {
    return {};
}

QString RetentionProposal::refusal(const QString&, Money, Money) {
    return {};
}
