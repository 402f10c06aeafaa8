#include "SignOffTexts.h"

#include "DayNumber.h"

#include <QDateTime>
#include <QStringList>

QString SignOffTexts::state(const SignOff& signOff) {
    return state(StateMark{signOff.state, signOff.cancels.has_value(), signOff.cancelledBy.has_value()});
}

QString SignOffTexts::state(const StateMark& mark) {
    if (mark.cancelled)
        return QStringLiteral("storniert");
    if (!mark.cancels)
        return stateWord(mark.state);
    if (mark.state == BookingState::Ordered || mark.state == BookingState::Paid)
        return QStringLiteral("Storno");
    return QStringLiteral("Storno, ") + stateWord(mark.state);
}

QString SignOffTexts::time(const QString& utc) {
    const QDateTime time = QDateTime::fromString(utc, Qt::ISODateWithMs);
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")) : utc;
}

QString SignOffTexts::byAndAt(const QString& by, const QString& at) {
    if (by.isEmpty() && at.isEmpty())
        return QString();
    return at.isEmpty() ? by : by + QStringLiteral(", ") + time(at);
}

QString SignOffTexts::details(const SignOff& signOff) {
    QStringList lines;
    const auto step = [&lines](const QString& name, const QString& by, const QString& at) {
        const QString text = byAndAt(by, at);
        if (!text.isEmpty())
            lines.append(name + QStringLiteral(": ") + text);
    };
    step(QStringLiteral("Erfasst"), signOff.recordedBy, signOff.recordedAt);
    step(QStringLiteral("Sachlich richtig"), signOff.factuallyBy, signOff.factuallyAt);
    step(QStringLiteral("Festgestellt"), signOff.confirmedBy, signOff.confirmedAt);
    step(QStringLiteral("Angeordnet"), signOff.orderedBy, signOff.orderedAt);
    if (signOff.paidOn)
        lines.append(QStringLiteral("Bezahlt am ") + DayNumber::format(signOff.paidOn));
    if (!signOff.reason.isEmpty())
        lines.append(QStringLiteral("Grund: ") + signOff.reason);
    if (!signOff.note.isEmpty())
        lines.append(signOff.note);
    return lines.join(QLatin1Char('\n'));
}
