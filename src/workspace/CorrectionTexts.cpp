#include "CorrectionTexts.h"

QString CorrectionTexts::banner(Original original, const QString& number) {
    const QString cancel = QStringLiteral(" „Korrektur abbrechen“ (Esc) verwirft Ihre Eingaben");
    switch (original) {
    case Original::Unchanged:
        return QStringLiteral(
                   "Bearbeitungsmodus: LfdNr. %1 wird korrigiert; sie bleibt unverändert gespeichert, "
                   "bis Sie buchen. „Buchen“ ersetzt sie durch Ihre Eingaben unter der nächsten "
                   "laufenden Nummer des Projekts.%2 und lässt LfdNr. %1, wie sie ist.")
            .arg(number, cancel);
    case Original::Changed:
        return QStringLiteral("Bearbeitungsmodus: LfdNr. %1 wurde inzwischen an einem anderen Arbeitsplatz "
                              "geändert. „Buchen“ ersetzt sie nicht, sondern fragt, ob der geänderte Stand "
                              "geladen werden soll.%2 und lässt LfdNr. %1, wie sie jetzt gespeichert ist.")
            .arg(number, cancel);
    case Original::Gone:
        return QStringLiteral("LfdNr. %1 ist nicht mehr gespeichert: Sie wurde an einem anderen Arbeitsplatz "
                              "gelöscht oder ersetzt. Ihre Eingaben stehen noch in den Feldern; „Buchen“ "
                              "bucht sie als neue Buchung unter der nächsten laufenden Nummer des Projekts."
                              "%2.")
            .arg(number, cancel);
    }
    return QString();
}

QString CorrectionTexts::leaveQuestion(std::optional<Original> original, const QString& number) {
    if (original == Original::Gone)
        return QStringLiteral("LfdNr. %1, die Sie korrigieren, ist nicht mehr gespeichert: Sie wurde an "
                              "einem anderen Arbeitsplatz gelöscht oder ersetzt.\nSoll Ihre Eingabe jetzt "
                              "als neue Buchung unter der nächsten laufenden Nummer gebucht werden?\n\n"
                              "Nein: Ihre Eingaben werden verworfen.")
            .arg(number);
    return QStringLiteral("LfdNr. %1 wurde zur Korrektur in die Eingabefelder übernommen und ist noch "
                          "nicht wieder gebucht.\nSoll die korrigierte Buchung jetzt unter der nächsten "
                          "laufenden Nummer gebucht werden?\n\nNein: Ihre Eingaben werden verworfen; "
                          "LfdNr. %1 bleibt so gespeichert, wie sie %2.")
        .arg(number, original == Original::Changed
                         ? QStringLiteral("an einem anderen Arbeitsplatz zuletzt geändert wurde")
                         : QStringLiteral("vorher war"));
}

QString CorrectionTexts::unbookedQuestion(const QString& invoiceFile) {
    return (!invoiceFile.isEmpty()
                ? QStringLiteral("Die Eingabe aus der E-Rechnung „%1“ ist noch nicht gebucht.")
                      .arg(invoiceFile)
                : QStringLiteral(
                      "Auf dem Register „Eingabe“ steht eine Eingabe, die noch nicht gebucht ist.")) +
           QStringLiteral("\nSoll sie jetzt unter der nächsten laufenden Nummer gebucht werden?\n\nNein: Die "
                          "Eingabe wird verworfen.\nAbbrechen: Das Projekt bleibt geöffnet.");
}
