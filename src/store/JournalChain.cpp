#include "JournalChain.h"

#include <QCryptographicHash>

QString JournalChain::content(const QStringList& fields, const QString& previousHash) {
    // The unit separator cannot be typed into a field, so no two different entries join to one text.
    return (fields + QStringList{previousHash}).join(QChar(0x1f));
}

QString JournalChain::hash(const QStringList& fields, const QString& previousHash) {
    return QString::fromLatin1(
        QCryptographicHash::hash(content(fields, previousHash).toUtf8(), QCryptographicHash::Sha256).toHex());
}
