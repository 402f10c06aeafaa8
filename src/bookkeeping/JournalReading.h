#pragma once

#include "JournalCheck.h"
#include "JournalEntry.h"
#include "JournalRepository.h"
#include "Reading.h"

#include <functional>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Session;

// What the screens read of the journal: its entries by the list's filter, a row's own entries, the users
// and tables present for the filter's pickers, and the check of the whole chain.
class JournalReading {
public:
    using Filter = JournalRepository::Filter;

    explicit JournalReading(Session& session) : m_session(session) {}

    // Visits the entries the filter lets through, oldest first; the reading's value tells whether all
    // could be read.
    Reading<bool> entries(const Filter& filter, const std::function<void(const JournalEntry&)>& visit);
    // The entries of one row of table (its ID, the rowid of an estimate row), oldest first.
    Reading<QList<JournalEntry>> forRow(const QString& table, qint64 row);
    // The users and the tables of the project's entries (of all entries for an empty projectId), sorted.
    Reading<QStringList> users(const QString& projectId);
    Reading<QStringList> tables(const QString& projectId);
    // "Protokoll prüfen": the whole chain checked.
    JournalCheck::Result check();

    // The start of the local day as the entries hold their times (UTC), for the filter's from and to.
    static QString utcStartOf(const QDate& localDay);
    // An entry's time in local time, "dd.MM.yyyy HH:mm:ss"; the text as stored when it is no time.
    static QString localTime(const QString& utc);

private:
    Session& m_session;
};
