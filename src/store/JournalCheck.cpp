#include "JournalCheck.h"

#include "Database.h"
#include "Journal.h"
#include "JournalChain.h"
#include "Schema.h"

JournalCheck::Result JournalCheck::run(Database& db) {
    Result result;
    const QStringList content = Schema::journalContent();
    QStringList columns = {QStringLiteral("ID")};
    columns << content << QStringLiteral("Vorgaenger") << QStringLiteral("Hash");
    QString previousHash;
    QString previousBefore;
    qint64 previousId = 0;
    bool holdsData = false;
    const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY ID")
                            .arg(columns.join(QStringLiteral(", ")), Schema::journal().name);
    const bool read = db.read(sql, {}, [&](const Database::Row& row) {
        if (result.firstBroken)
            return;
        ++result.entries;
        const qint64 id = row.rowNumber(0);
        QStringList fields;
        for (int i = 0; i < content.size(); ++i)
            fields += row.text(i + 1);
        const QString before = row.text(int(content.size()) + 1);
        const QString hash = row.text(int(content.size()) + 2);
        if (JournalChain::hash(fields, before) != hash) {
            result.firstBroken = id;
            result.text = QStringLiteral("Eintrag %1 wurde nachträglich geändert: Sein Inhalt passt nicht zu "
                                         "seiner Prüfsumme.")
                              .arg(id);
        } else if (before != previousHash) {
            const bool inserted = result.entries > 1 && before == previousBefore;
            result.firstBroken = inserted ? previousId : id;
            result.text =
                inserted ? QStringLiteral("Eintrag %1 wurde nachträglich eingefügt: Er gehört nicht in "
                                          "die Kette zwischen Eintrag %2 und Eintrag %3.")
                               .arg(previousId)
                               .arg(previousId == id ? id : previousId)
                               .arg(id)
                         : QStringLiteral("Vor Eintrag %1 fehlen Einträge: Sie wurden entfernt.").arg(id);
        }
        previousBefore = before;
        previousHash = hash;
        previousId = id;
    });
    if (!read) {
        result.text =
            QStringLiteral("Das Änderungsprotokoll kann nicht gelesen werden: %1").arg(db.lastReason());
        return result;
    }
    if (result.firstBroken)
        return result;
    if (result.entries == 0) {
        db.read(QStringLiteral("SELECT CASE WHEN %1 THEN 1 ELSE 0 END").arg(Journal::dataHeldCondition()), {},
                [&](const Database::Row& row) { holdsData = row.rowNumber(0) == 1; });
        if (holdsData) {
            result.text =
                QStringLiteral("Das Änderungsprotokoll ist leer, obwohl die Datenbank Daten enthält: "
                               "Es wurde entfernt oder geleert.");
            return result;
        }
    }
    result.whole = true;
    result.text =
        QStringLiteral("Das Änderungsprotokoll ist vollständig: %1 Einträge, die Kette ist lückenlos.")
            .arg(result.entries);
    return result;
}
