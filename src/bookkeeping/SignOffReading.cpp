#include "SignOffReading.h"

#include "Session.h"

QHash<qint64, SignOff> SignOffReading::ofProject(Session&, const QString&, bool* ok) {
    if (ok)
        *ok = true;
    return {};
}

std::optional<SignOff> SignOffReading::ofBooking(Session&, qint64 bookingId) {
    SignOff signOff;
    signOff.bookingId = bookingId;
    return signOff;
}

QList<SignOffReading::Waiting> SignOffReading::waitingFor(Session&, bool* ok) {
    if (ok)
        *ok = true;
    return {};
}

SignOffRules SignOffReading::rules(Session&) {
    return {};
}

QString SignOffReading::login(Session&) {
    return QString();
}

SignOffReading::Viewer SignOffReading::viewer(Session& session) {
    Viewer viewer;
    viewer.login = login(session);
    viewer.rules = rules(session);
    return viewer;
}

std::optional<QString> SignOffReading::whyNot(Session& session, const SignOff& signOff, Step step) {
    return whyNot(viewer(session), signOff, step);
}

std::optional<QString> SignOffReading::whyNot(const Viewer&, const SignOff&, Step) {
    return std::nullopt;
}
