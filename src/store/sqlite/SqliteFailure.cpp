#include "SqliteFailure.h"

#include <sqlite3.h>

namespace {

QString sentence(int primaryCode) {
    switch (primaryCode) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Datenbank ist gesperrt, weil ein anderes Programm oder ein anderer "
                              "Arbeitsplatz gerade mit ihr arbeitet. Bitte versuchen Sie es in einem "
                              "Augenblick noch einmal");
    case SQLITE_FULL:
        return QStringLiteral("Auf dem Laufwerk der Datenbank ist kein Platz mehr frei");
    case SQLITE_READONLY:
        return QStringLiteral("Die Datenbank ist schreibgeschützt; es kann nichts gespeichert werden");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("Die Datenbank ist beschädigt");
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return QStringLiteral("Die Datenbankdatei kann nicht geöffnet werden");
    case SQLITE_IOERR:
        return QStringLiteral("Die Datenbankdatei konnte nicht gelesen oder geschrieben werden, etwa weil "
                              "die Verbindung zum Netzlaufwerk unterbrochen ist");
    default:
        return QString();
    }
}

} // namespace

QString SqliteFailure::germanText(int code, const QString& engineWords) {
    const QString words = engineWords.trimmed();
    const QString german =
        isFileGone(code) ? QStringLiteral("Die Datenbankdatei ist nicht mehr vorhanden; sie wurde gelöscht, "
                                          "umbenannt oder ersetzt")
        : code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY
            ? QStringLiteral(
                  "Ein Wert, der nur einmal vorkommen darf (etwa die laufende Nummer einer Buchung "
                  "im Projekt), ist schon vergeben; es wurde nichts gespeichert")
            : sentence(code & 0xFF);
    if (german.isEmpty())
        return words.isEmpty() ? QStringLiteral("Unbekannter Fehler der Datenbank (Code %1).").arg(code)
                               : words;
    return words.isEmpty() ? german + QLatin1Char('.')
                           : german + QStringLiteral(" (") + words + QStringLiteral(").");
}

bool SqliteFailure::isDamage(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool SqliteFailure::isBusy(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool SqliteFailure::isFileGone(int code) {
    return code == SQLITE_READONLY_DBMOVED;
}

StoreFailure SqliteFailure::of(int code, const QString& engineWords) {
    return {isBusy(code)       ? StoreFailure::Kind::Busy
            : isFileGone(code) ? StoreFailure::Kind::FileGone
                               : StoreFailure::Kind::Other,
            germanText(code, engineWords)};
}
