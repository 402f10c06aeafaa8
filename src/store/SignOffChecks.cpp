#include "SignOffChecks.h"

#include "SignOff.h"

QList<std::pair<QString, QString>> SignOffChecks::steps() {
    const auto step = [](BookingState from, BookingState to) {
        return std::pair{stateWord(from), stateWord(to)};
    };
    return {step(BookingState::Recorded, BookingState::FactuallyRight),
            step(BookingState::Recorded, BookingState::Confirmed),
            step(BookingState::FactuallyRight, BookingState::Confirmed),
            step(BookingState::Confirmed, BookingState::Ordered),
            step(BookingState::Ordered, BookingState::Paid)};
}

QString SignOffChecks::recorded() {
    return stateWord(BookingState::Recorded);
}

QString SignOffChecks::finalStatesList() {
    return QStringLiteral("'%1', '%2'").arg(stateWord(BookingState::Ordered), stateWord(BookingState::Paid));
}

QStringList SignOffChecks::fixedBookingFields() {
    return {QStringLiteral("ID"),           QStringLiteral("PID"),         QStringLiteral("ProjektID"),
            QStringLiteral("AnweisungVom"), QStringLiteral("RechnungVom"), QStringLiteral("RechnungsNr"),
            QStringLiteral("Zahlungsart"),  QStringLiteral("Bemerkungen"), QStringLiteral("Betrag")};
}

QString SignOffChecks::changeRefusal() {
    return QStringLiteral(
        "Eine angeordnete Buchung kann nicht mehr geändert werden; berichtigt wird sie durch "
        "ein Storno.");
}

QString SignOffChecks::removalRefusal() {
    return QStringLiteral(
        "Eine angeordnete Buchung kann nicht gelöscht werden; berichtigt wird sie durch ein "
        "Storno.");
}

QString SignOffChecks::stepRefusal() {
    return QStringLiteral(
        "Der Stand einer Buchung geht nur Schritt für Schritt voran (erfasst, festgestellt, "
        "angeordnet, bezahlt), ohne einen Schritt auszulassen, und nie zurück.");
}

QString SignOffChecks::rightMissing(const QString& right) {
    return QStringLiteral("Dazu fehlt Ihnen das Recht „%1“.").arg(right);
}

QString SignOffChecks::ownBooking() {
    return QStringLiteral("Wer eine Buchung erfasst hat, darf sie nicht feststellen (Vier-Augen-Prinzip).");
}

QString SignOffChecks::ownSignature() {
    return QStringLiteral("Wer eine Buchung erfasst oder festgestellt hat, darf sie nicht anordnen "
                          "(Vier-Augen-Prinzip).");
}

QString SignOffChecks::twoPersons() {
    return QStringLiteral(
        "„Sachlich richtig“ und „rechnerisch richtig“ bestätigen zwei verschiedene Personen.");
}
