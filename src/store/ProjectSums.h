#pragma once

#include "Schema.h"

#include <optional>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class Database;

// Each project's payments and committed amounts as the database keeps them itself in tblProjektSumme:
// triggers on tblBuchung and tblNachtrag add every change within the transaction that makes it, whoever
// writes. The kept sums are trusted only while they are known whole: every trigger in place and active,
// and every row of both tables counted.
class ProjectSums {
public:
    // What is kept of one project's rows of one table: the cents of the amounts the engine holds as
    // numbers, and how many rows hold an amount that is no such number (read alone, as every list does).
    struct Kept {
        qint64 cents = 0;
        qint64 odd = 0;
    };

    explicit ProjectSums(Database& db) : m_db(db) {}

    // By the trimmed ProjektID (a missing one as empty), one Kept per table of Schema::summed(), in its
    // order; nullopt when the kept sums are not whole or cannot be read.
    std::optional<QHash<QString, QList<Kept>>> read() const;
    bool whole() const { return read().has_value(); }
    // What is kept of one project's rows of the table at index of Schema::summed(), by the key read()
    // gives; trusted while that table's triggers are in place and active and the project's rows, counted
    // through the index, are as many as kept. nullopt otherwise. Counted with them: the spellings of
    // company (its name compared ignoring case) among the project's rows, into spellings.
    std::optional<Kept> readProject(qsizetype index, const QString& projectId, const QString& company,
                                    QStringList& spellings) const;
    // Whether the triggers that keep the sums are all among active (each "table.trigger" in lower case).
    bool keptBy(const QSet<QString>& active) const;
    // Creates the table when missing is true, installs the triggers afresh and counts every row anew.
    QStringList installStatements(bool missing) const;
    // Within the caller's transaction: the triggers set aside while rows are brought in at once, then
    // installed afresh with everything recounted.
    bool suspend();
    bool install();
    // The amounts of one project's rows in the table at index of Schema::summed() that the kept sums
    // leave to be read alone; the query's one parameter is the project's key as read() gives it.
    QString oddRowsQuery(qsizetype index, const QString& projectId) const;

private:
    // Whether every trigger keeping the sums of these tables is in place and active.
    bool triggersActive(const QList<Schema::Summed>& tables) const;
    // The condition selecting one project's rows by the key read() gives, through the trimmed index.
    static QString projectCondition(const QString& projectId);
    // For an amount field: the condition of a value the kept sums leave to be read alone, its cents
    // otherwise, and 1 or 0 as it is left.
    QString odd(const QString& amount) const;
    QString cents(const QString& amount) const;
    QString oddCount(const QString& amount) const;

    Database& m_db;
};
