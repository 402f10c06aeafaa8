#include "SignOffReading.h"

#include "Database.h"
#include "Session.h"
#include "SignOffChecks.h"
#include "SignOffRepository.h"

namespace {

bool isFinal(BookingState state) {
    return state == BookingState::Ordered || state == BookingState::Paid;
}

} // namespace

QHash<qint64, StateMark> SignOffReading::marksOfProject(Session& session, const QString& projectId,
                                                        bool* ok) {
    return SignOffRepository(session.database()).marksOfProject(projectId, ok);
}

std::optional<SignOff> SignOffReading::ofBooking(Session& session, qint64 bookingId) {
    bool ok = true;
    std::optional<SignOff> found = SignOffRepository(session.database()).find(bookingId, &ok);
    if (!ok)
        return std::nullopt;
    if (!found) {
        found = SignOff();
        found->bookingId = bookingId;
    }
    return found;
}

QList<SignOffReading::Waiting> SignOffReading::waitingFor(Session& session, bool* ok) {
    SignOffRepository repository(session.database());
    const std::optional<SignOffRepository::Looking> looking = repository.viewer();
    QList<Waiting> waiting;
    bool read = looking.has_value();
    if (looking) {
        const QList<SignOffRepository::Pending> pending = repository.waiting(*looking, &read);
        waiting.reserve(pending.size());
        for (const SignOffRepository::Pending& each : pending)
            waiting.append({each.booking, each.signOff});
    }
    if (ok)
        *ok = read;
    return waiting;
}

SignOffRules SignOffReading::rules(Session& session) {
    return viewer(session).rules;
}

QString SignOffReading::login(Session& session) {
    return SignOffRepository(session.database()).login();
}

SignOffReading::Viewer SignOffReading::viewer(Session& session) {
    Viewer viewer;
    const std::optional<SignOffRepository::Looking> looking = SignOffRepository(session.database()).viewer();
    if (!looking) {
        // What cannot be read is not open.
        viewer.mayRecord = viewer.mayConfirm = viewer.mayOrder = false;
        viewer.rules.fourEyes = true;
        return viewer;
    }
    viewer.login = looking->login;
    viewer.mayRecord = looking->mayRecord;
    viewer.mayConfirm = looking->mayConfirm;
    viewer.mayOrder = looking->mayOrder;
    viewer.rules = {looking->fourEyes, looking->twoStep};
    return viewer;
}

std::optional<QString> SignOffReading::whyNot(Session& session, const SignOff& signOff, Step step) {
    return whyNot(viewer(session), signOff, step);
}

std::optional<QString> SignOffReading::whyNot(const Viewer& viewer, const SignOff& signOff, Step step) {
    const BookingState state = signOff.state;
    const QString& login = viewer.login;
    switch (step) {
    case Step::Confirm:
        if (state != BookingState::Recorded && state != BookingState::FactuallyRight)
            return QStringLiteral("Die Buchung ist bereits %1.").arg(stateWord(state));
        if (!viewer.mayConfirm)
            return SignOffChecks::rightMissing(QStringLiteral("feststellen"));
        if (viewer.rules.fourEyes && signOff.recordedBy == login)
            return SignOffChecks::ownBooking();
        if (state == BookingState::FactuallyRight && signOff.factuallyBy == login)
            return SignOffChecks::twoPersons();
        return std::nullopt;
    case Step::Order:
        if (state == BookingState::Recorded || state == BookingState::FactuallyRight)
            return QStringLiteral("Angeordnet wird erst eine festgestellte Buchung; diese ist %1.")
                .arg(stateWord(state));
        if (state != BookingState::Confirmed)
            return QStringLiteral("Die Buchung ist bereits %1.").arg(stateWord(state));
        if (!viewer.mayOrder)
            return SignOffChecks::rightMissing(QStringLiteral("anordnen"));
        if (viewer.rules.fourEyes &&
            (signOff.recordedBy == login || signOff.factuallyBy == login || signOff.confirmedBy == login))
            return SignOffChecks::ownSignature();
        return std::nullopt;
    case Step::Pay:
        if (state == BookingState::Paid)
            return QStringLiteral("Die Buchung ist bereits bezahlt.");
        if (state != BookingState::Ordered)
            return QStringLiteral("Bezahlt wird nur eine angeordnete Buchung; diese ist %1.")
                .arg(stateWord(state));
        if (!viewer.mayOrder)
            return SignOffChecks::rightMissing(QStringLiteral("anordnen"));
        return std::nullopt;
    case Step::Cancel:
        if (signOff.cancels)
            return QStringLiteral("Eine Stornobuchung wird nicht storniert.");
        if (signOff.cancelledBy)
            return QStringLiteral("Die Buchung ist bereits storniert.");
        if (!isFinal(state))
            return QStringLiteral("Storniert wird eine angeordnete Buchung; diese ist %1 und kann noch "
                                  "zurückgenommen werden.")
                .arg(stateWord(state));
        if (!viewer.mayRecord)
            return SignOffChecks::rightMissing(QStringLiteral("erfassen"));
        return std::nullopt;
    case Step::TakeBack:
    case Step::Remove:
        if (isFinal(state))
            return step == Step::TakeBack
                       ? QStringLiteral("Eine angeordnete Buchung kann nicht mehr zurückgenommen werden; "
                                        "berichtigt wird sie durch ein Storno.")
                       : SignOffChecks::removalRefusal();
        if (step == Step::TakeBack && signOff.cancels)
            return QStringLiteral(
                "Eine Stornobuchung wird nicht berichtigt; sie kann gelöscht und das Storno "
                "neu gebucht werden.");
        if (!viewer.mayRecord)
            return SignOffChecks::rightMissing(QStringLiteral("erfassen"));
        return std::nullopt;
    }
    return std::nullopt;
}
