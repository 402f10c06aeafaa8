#include "SecurityOperation.h"

#include "Booking.h"
#include "BookingOperation.h"
#include "CompanyRepository.h"
#include "Database.h"
#include "DayNumber.h"
#include "Journal.h"
#include "MasterWrite.h"
#include "Payment.h"
#include "RetentionProposal.h"
#include "RetentionRepository.h"
#include "SecurityRepository.h"
#include "Session.h"

#include <QStringList>

namespace {

const QStringList kKinds = {QStringLiteral("Vertragserfüllung"), QStringLiteral("Mängelansprüche")};
const QStringList kForms = {QStringLiteral("Bürgschaft"), QStringLiteral("Einbehalt")};

QString stampOf(const Security& security) {
    auto day = [](std::optional<int> value) { return value ? QString::number(*value) : QString(); };
    return QStringList{QString::number(security.companyId),
                       security.kind,
                       security.form,
                       security.amount ? QString::number(security.amount->cents()) : QString(),
                       security.guarantor,
                       security.documentNumber,
                       day(security.receivedOn),
                       day(security.returnDueOn),
                       day(security.returnedOn)}
        .join(QChar(0x1f));
}

std::optional<QString> stampNow(Database& db, qint64 id) {
    bool ok = true;
    const std::optional<Security> now = SecurityRepository(db).find(id, &ok);
    if (!ok)
        return std::nullopt;
    return now ? stampOf(*now) : QString();
}

} // namespace

QString SecurityOperation::refusal(const Security& security) {
    if (!kKinds.contains(security.kind))
        return QStringLiteral("Eine Sicherheit gilt der Vertragserfüllung oder den Mängelansprüchen.");
    if (!kForms.contains(security.form))
        return QStringLiteral("Eine Sicherheit wird als „Bürgschaft“ oder als „Einbehalt“ gestellt.");
    if (!security.amount || security.amount->cents() <= 0)
        return QStringLiteral("Bitte geben Sie den Betrag der Sicherheit an.");
    if (security.returnedOn && security.receivedOn && *security.returnedOn < *security.receivedOn)
        return QStringLiteral("Eine Sicherheit geht erst zurück, nachdem sie erhalten wurde.");
    return {};
}

int SecurityOperation::returnDay(int acceptedOn, int years) {
    return DayNumber::fromDate(DayNumber::toDate(acceptedOn).addYears(years));
}

Outcome SecurityOperation::add(const QString& company, Security security) {
    const QString refused = refusal(security);
    if (!refused.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refused);
    MasterWrite write(m_session);
    Database& db = write.database();
    bool ok = write.begin() && Journal(db).label(task());
    const std::optional<Company> found = ok ? CompanyRepository(db).findByName(company, &ok) : std::nullopt;
    if (ok && !found)
        return Outcome::failed(Outcome::Kind::NameGone,
                               QStringLiteral("Die Firma „%1“ ist nicht im Firmenregister.").arg(company));
    std::optional<qint64> id;
    if (ok) {
        security.companyId = found->id;
        id = SecurityRepository(db).add(security);
    }
    return write.finish(id.has_value(), id);
}

Outcome SecurityOperation::change(const Security& before, Security changed) {
    changed.id = before.id;
    changed.companyId = before.companyId;
    changed.projectId = before.projectId;
    const QString refused = refusal(changed);
    if (!refused.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refused);
    MasterWrite write(m_session);
    Database& db = write.database();
    const bool ok = write.begin() && Journal(db).label(task()) &&
                    db.stillAsLoaded(stampNow(db, before.id), stampOf(before));
    return write.finish(ok && SecurityRepository(db).update(changed), changed.id);
}

Outcome SecurityOperation::remove(qint64 id) {
    MasterWrite write(m_session);
    Database& db = write.database();
    return write.finish(write.begin() && Journal(db).label(task()) && SecurityRepository(db).remove(id), id);
}

Outcome SecurityOperation::release(const QString& projectId, const QString& company, const QString& kind,
                                   Money amount, int day, std::optional<qint64> securityId) {
    if (!kKinds.contains(kind))
        return Outcome::failed(Outcome::Kind::Refused,
                               QStringLiteral("Freigegeben wird ein Einbehalt für die Vertragserfüllung oder "
                                              "für Mängelansprüche."));
    if (amount.cents() <= 0)
        return Outcome::failed(Outcome::Kind::Refused, QStringLiteral("Bitte geben Sie den Betrag an."));
    Database& db = m_session.database();
    bool ok = true;
    const QList<RetentionRepository::Paid> payments =
        RetentionRepository(db).ofCompany(projectId, company, &ok);
    if (!ok)
        return Outcome::ofStore(db);
    Money retained;
    for (const RetentionRepository::Paid& paid : payments) {
        if (paid.retentionKind == kind)
            retained += paid.retention;
    }
    if (amount > retained)
        return Outcome::failed(Outcome::Kind::Refused,
                               QStringLiteral("Für %1 sind von „%2“ nur %3 € einbehalten.")
                                   .arg(kind, company, retained.toGerman()));
    Booking booking;
    booking.projectId = projectId.trimmed();
    booking.company = company;
    if (!payments.isEmpty()) {
        booking.project = payments.last().project;
        booking.company = payments.last().company;
        booking.trade = payments.last().trade;
        booking.costGroup = payments.last().costGroup;
    }
    booking.instructedOn = day;
    booking.paymentKind = QStringLiteral("Rückhalt");
    booking.remarks = QStringLiteral("Freigabe Einbehalt %1").arg(kind);
    booking.amount = amount;
    Payment payment;
    payment.gross = Money();
    payment.retention = -amount;
    payment.retentionKind = kind;
    payment.securityId = securityId;
    return BookingOperation(m_session).book(booking, std::nullopt, false, nullptr, payment);
}
