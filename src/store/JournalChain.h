#pragma once

#include <QString>
#include <QStringList>

// The chain that makes the change journal tamper-evident: each entry's hash is SHA-256 over its content
// fields (Schema::journalContent(), in that order, a missing one as empty text) and the hash of the entry
// before it, so that a changed, removed or inserted entry breaks the chain from there on.
class JournalChain {
public:
    // The text the hash covers; the server's journal function builds the very same text.
    static QString content(const QStringList& fields, const QString& previousHash);
    // Lower-case hexadecimal SHA-256 of the content's UTF-8 bytes.
    static QString hash(const QStringList& fields, const QString& previousHash);
};
