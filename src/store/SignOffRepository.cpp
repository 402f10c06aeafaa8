#include "SignOffRepository.h"

#include "BookingRepository.h"
#include "Database.h"
#include "Dialect.h"

#include <pwd.h>
#include <QDateTime>
#include <unistd.h>

namespace {

constexpr qsizetype kChunk = 500;

const QStringList kFields = {
    QStringLiteral("BuchungID"),     QStringLiteral("ProjektID"),       QStringLiteral("Status"),
    QStringLiteral("ErfasstVon"),    QStringLiteral("ErfasstAm"),       QStringLiteral("SachlichVon"),
    QStringLiteral("SachlichAm"),    QStringLiteral("FestgestelltVon"), QStringLiteral("FestgestelltAm"),
    QStringLiteral("AngeordnetVon"), QStringLiteral("AngeordnetAm"),    QStringLiteral("BezahltAm"),
    QStringLiteral("StornoZu"),      QStringLiteral("Grund"),           QStringLiteral("Hinweis")};
constexpr int kBookingColumns = 13;

QString placeholders(qsizetype count) {
    return QStringList(count, QStringLiteral("?")).join(u',');
}

// The fields that say who took the step into state and when.
std::optional<std::pair<QString, QString>> takenBy(BookingState state) {
    switch (state) {
    case BookingState::FactuallyRight:
        return std::pair{QStringLiteral("SachlichVon"), QStringLiteral("SachlichAm")};
    case BookingState::Confirmed:
        return std::pair{QStringLiteral("FestgestelltVon"), QStringLiteral("FestgestelltAm")};
    case BookingState::Ordered:
        return std::pair{QStringLiteral("AngeordnetVon"), QStringLiteral("AngeordnetAm")};
    case BookingState::Recorded:
    case BookingState::Paid:
        break;
    }
    return std::nullopt;
}

QString quoted(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

} // namespace

QString SignOffRepository::columns(const QString& alias) {
    QStringList qualified;
    for (const QString& field : kFields)
        qualified += alias + u'.' + field;
    // The counter-booking that cancels the booking, if any.
    qualified +=
        QStringLiteral("(SELECT MIN(s.BuchungID) FROM tblFreigabe s WHERE s.StornoZu = %1.BuchungID)")
            .arg(alias);
    return qualified.join(QStringLiteral(", "));
}

SignOff SignOffRepository::built(const DatabaseRow& row, int first) {
    SignOff signOff;
    signOff.bookingId = row.rowNumber(first);
    signOff.projectId = row.text(first + 1);
    signOff.state = stateOfWord(row.text(first + 2)).value_or(BookingState::Recorded);
    signOff.recordedBy = row.text(first + 3);
    signOff.recordedAt = row.text(first + 4);
    signOff.factuallyBy = row.text(first + 5);
    signOff.factuallyAt = row.text(first + 6);
    signOff.confirmedBy = row.text(first + 7);
    signOff.confirmedAt = row.text(first + 8);
    signOff.orderedBy = row.text(first + 9);
    signOff.orderedAt = row.text(first + 10);
    signOff.paidOn = row.integer(first + 11);
    if (!row.isNull(first + 12))
        signOff.cancels = row.rowNumber(first + 12);
    signOff.reason = row.text(first + 13);
    signOff.note = row.text(first + 14);
    if (!row.isNull(first + 15))
        signOff.cancelledBy = row.rowNumber(first + 15);
    return signOff;
}

std::optional<SignOff> SignOffRepository::find(qint64 bookingId, bool* ok) const {
    std::optional<SignOff> found;
    const bool read = m_db.read(QStringLiteral("SELECT %1 FROM tblFreigabe f WHERE f.BuchungID = ?")
                                    .arg(columns(QStringLiteral("f"))),
                                {bookingId}, [&](const DatabaseRow& row) { found = built(row, 0); });
    if (ok)
        *ok = read;
    return found;
}

QHash<qint64, StateMark> SignOffRepository::marksOfProject(const QString& projectId, bool* ok) const {
    QHash<qint64, StateMark> marks;
    QList<qint64> cancelled;
    const bool read =
        m_db.read(QStringLiteral("SELECT BuchungID, Status, StornoZu FROM tblFreigabe WHERE ProjektID = ?"),
                  {projectId.trimmed()}, [&](const DatabaseRow& row) {
                      StateMark mark;
                      mark.state = stateOfWord(row.text(1)).value_or(BookingState::Recorded);
                      mark.cancels = !row.isNull(2);
                      if (mark.cancels)
                          cancelled.append(row.rowNumber(2));
                      marks.insert(row.rowNumber(0), mark);
                  });
    for (const qint64 id : std::as_const(cancelled)) {
        const auto found = marks.find(id);
        if (found != marks.end())
            found->cancelled = true;
    }
    if (ok)
        *ok = read;
    if (!read)
        marks.clear();
    return marks;
}

QList<SignOffRepository::Pending> SignOffRepository::forBookings(const QList<qint64>& bookingIds,
                                                                 bool* ok) const {
    QList<Pending> found;
    bool read = true;
    for (qsizetype from = 0; read && from < bookingIds.size(); from += kChunk) {
        const QList<qint64> chunk = bookingIds.mid(from, kChunk);
        const QVariantList values(chunk.cbegin(), chunk.cend());
        // Other writers of these states wait until this transaction ends.
        if (const std::optional<QString> lock = m_db.dialect().rowLockClause())
            read = m_db.read(QStringLiteral("SELECT BuchungID FROM tblFreigabe WHERE BuchungID IN (%1)%2")
                                 .arg(placeholders(chunk.size()), *lock),
                             values, [](const DatabaseRow&) {});
        read = read && m_db.read(QStringLiteral("SELECT %1, %2 FROM tblBuchung b LEFT JOIN tblFreigabe f ON "
                                                "f.BuchungID = b.ID WHERE b.ID IN (%3) ORDER BY b.ID")
                                     .arg(BookingRepository::columns(QStringLiteral("b")),
                                          columns(QStringLiteral("f")), placeholders(chunk.size())),
                                 values, [&](const DatabaseRow& row) {
                                     Pending pending{BookingRepository::built(row, 0), {}};
                                     if (row.isNull(kBookingColumns)) {
                                         pending.signOff.bookingId = pending.booking.id;
                                         pending.signOff.projectId = pending.booking.projectId.trimmed();
                                     } else {
                                         pending.signOff = built(row, kBookingColumns);
                                     }
                                     found += pending;
                                 });
    }
    if (ok)
        *ok = read;
    return found;
}

QList<SignOffRepository::Pending> SignOffRepository::waiting(const Looking& viewer, bool* ok) const {
    // Only the states the viewer can move on are read, through the index on the state.
    QStringList conditions;
    QVariantList values;
    const auto waitFor = [&](BookingState state, const QStringList& notBy) {
        QString condition = QStringLiteral("(f.Status = ?");
        values += stateWord(state);
        for (const QString& field : notBy) {
            condition += QStringLiteral(" AND coalesce(f.%1, '') <> ?").arg(field);
            values += viewer.login;
        }
        conditions += condition + u')';
    };
    const QStringList recorder = viewer.fourEyes ? QStringList{QStringLiteral("ErfasstVon")} : QStringList();
    if (viewer.mayConfirm) {
        waitFor(BookingState::Recorded, recorder);
        waitFor(BookingState::FactuallyRight, recorder + QStringList{QStringLiteral("SachlichVon")});
    }
    if (viewer.mayOrder)
        waitFor(BookingState::Confirmed,
                viewer.fourEyes ? QStringList{QStringLiteral("ErfasstVon"), QStringLiteral("SachlichVon"),
                                              QStringLiteral("FestgestelltVon")}
                                : QStringList());
    QList<Pending> found;
    if (conditions.isEmpty()) {
        if (ok)
            *ok = true;
        return found;
    }
    const bool read = m_db.read(
        QStringLiteral("SELECT %1, %2 FROM tblFreigabe f JOIN tblBuchung b ON b.ID = f.BuchungID WHERE %3 "
                       "ORDER BY f.BuchungID")
            .arg(BookingRepository::columns(QStringLiteral("b")), columns(QStringLiteral("f")),
                 conditions.join(QStringLiteral(" OR "))),
        values, [&](const DatabaseRow& row) {
            found += Pending{BookingRepository::built(row, 0), built(row, kBookingColumns)};
        });
    if (ok)
        *ok = read;
    if (!read)
        found.clear();
    return found;
}

bool SignOffRepository::step(const QList<qint64>& bookingIds, BookingState to, const QString& login,
                             std::optional<int> paidOn) {
    QString set = QStringLiteral("Status = ?");
    QVariantList first = {stateWord(to)};
    // The server writes who and when itself, and trusts no workstation with them.
    const std::optional<std::pair<QString, QString>> by = takenBy(to);
    if (by && !m_db.onServer()) {
        set += QStringLiteral(", %1 = ?, %2 = ?").arg(by->first, by->second);
        first << login << now();
    }
    if (to == BookingState::Paid) {
        set += QStringLiteral(", BezahltAm = ?");
        first += paidOn ? QVariant(*paidOn) : QVariant();
    }
    bool written = true;
    for (qsizetype from = 0; written && from < bookingIds.size(); from += kChunk) {
        const QList<qint64> chunk = bookingIds.mid(from, kChunk);
        QVariantList values = first;
        for (const qint64 id : chunk)
            values += id;
        written = m_db.exec(QStringLiteral("UPDATE tblFreigabe SET %1 WHERE BuchungID IN (%2)")
                                .arg(set, placeholders(chunk.size())),
                            values);
    }
    return written;
}

bool SignOffRepository::recorded(qint64 bookingId) {
    return m_db.onServer() ||
           m_db.exec(QStringLiteral("UPDATE tblFreigabe SET ErfasstVon = ? WHERE BuchungID = ?"),
                     {login(), bookingId});
}

bool SignOffRepository::link(qint64 counter, qint64 cancelled, const QString& reason) {
    return m_db.changeRow(
        QStringLiteral("UPDATE tblFreigabe SET StornoZu = ?, Grund = ? WHERE BuchungID = ?"),
        {cancelled, reason, counter});
}

bool SignOffRepository::fillMissing(BookingState state, const QString& note) {
    return m_db.exec(
        QStringLiteral("INSERT INTO tblFreigabe (BuchungID, ProjektID, Status, Hinweis) SELECT "
                       "b.ID, trim(b.ProjektID), ?, ? FROM tblBuchung b WHERE NOT EXISTS (SELECT "
                       "1 FROM tblFreigabe f WHERE f.BuchungID = b.ID)"),
        {stateWord(state), note.isEmpty() ? QVariant() : QVariant(note)});
}

bool SignOffRepository::suspendChecks() {
    for (const QString& statement : m_db.dialect().signOffSuspendStatements()) {
        if (!m_db.exec(statement))
            return false;
    }
    return true;
}

bool SignOffRepository::installChecks() {
    for (const QString& statement : m_db.dialect().signOffStatements()) {
        if (!m_db.exec(statement))
            return false;
    }
    return true;
}

QString SignOffRepository::arrivalNote() {
    return QStringLiteral("Vor Einführung der Anordnung gebucht");
}

QString SignOffRepository::arrivalStatement() {
    return QStringLiteral("INSERT INTO tblFreigabe (BuchungID, ProjektID, Status, Hinweis) SELECT b.ID, "
                          "trim(b.ProjektID), %1, %2 FROM tblBuchung b WHERE NOT EXISTS (SELECT 1 FROM "
                          "tblFreigabe f WHERE f.BuchungID = b.ID)")
        .arg(quoted(stateWord(BookingState::Ordered)), quoted(arrivalNote()));
}

std::optional<QString> SignOffRepository::setting(const QString& name, bool* ok) const {
    std::optional<QString> value;
    const bool read = m_db.read(
        QStringLiteral("SELECT Wert FROM tblEinstellung WHERE Name = ? ORDER BY rowid DESC LIMIT 1"), {name},
        [&](const DatabaseRow& row) { value = row.text(0); });
    if (ok)
        *ok = read;
    return read ? value : std::nullopt;
}

bool SignOffRepository::setSetting(const QString& name, const QString& value) {
    return m_db.exec(QStringLiteral("DELETE FROM tblEinstellung WHERE Name = ?"), {name}) &&
           m_db.exec(QStringLiteral("INSERT INTO tblEinstellung (Name, Wert) VALUES (?, ?)"), {name, value});
}

QString SignOffRepository::login() const {
    if (m_db.onServer()) {
        QString user;
        m_db.read(QStringLiteral("SELECT session_user"), {},
                  [&](const DatabaseRow& row) { user = row.text(0); });
        return user;
    }
    if (const passwd* entry = getpwuid(getuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString SignOffRepository::fourEyesSetting() {
    return QStringLiteral("VierAugen");
}

QString SignOffRepository::twoStepSetting() {
    return QStringLiteral("ZweiStufig");
}

std::optional<SignOffRepository::Looking> SignOffRepository::viewer() const {
    Looking looking;
    const QString value =
        QStringLiteral("(SELECT Wert FROM tblEinstellung WHERE Name = ? ORDER BY rowid DESC "
                       "LIMIT 1)");
    const QString fourEyesDefault = m_db.onServer() ? QStringLiteral("1") : QStringLiteral("0");
    const QString rights = m_db.onServer() ? QStringLiteral("session_user, zlv_recht('erfassen'), "
                                                            "zlv_recht('feststellen'), zlv_recht('anordnen')")
                                           : QStringLiteral("'', 1, 1, 1");
    const auto yes = [](const QString& text) {
        return text == QLatin1String("1") || text == QLatin1String("t");
    };
    const bool read =
        m_db.read(QStringLiteral("SELECT %1, coalesce(%2, ?), coalesce(%2, '0')").arg(rights, value),
                  {fourEyesSetting(), fourEyesDefault, twoStepSetting()}, [&](const DatabaseRow& row) {
                      looking.login = row.text(0);
                      looking.mayRecord = yes(row.text(1));
                      looking.mayConfirm = yes(row.text(2));
                      looking.mayOrder = yes(row.text(3));
                      looking.fourEyes = yes(row.text(4));
                      looking.twoStep = yes(row.text(5));
                  });
    if (!read)
        return std::nullopt;
    if (!m_db.onServer())
        looking.login = login();
    return looking;
}

QString SignOffRepository::now() {
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}
