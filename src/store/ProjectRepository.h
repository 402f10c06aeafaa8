#pragma once

#include "Project.h"

#include <optional>
#include <QList>

class Database;

// Reads and writes tblProjekt. Reads return an empty list and set *ok to false when the engine fails;
// Database::lastError() then holds the German text.
class ProjectRepository {
public:
    explicit ProjectRepository(Database& database) : m_db(database) {}

    QList<Project> all(bool* ok = nullptr) const;
    // Newest start date first; equal dates in order of entry; projects without a date last.
    QList<Project> newestFirst(bool* ok = nullptr) const;
    // Projects whose number (as decimal text) or name holds the user's text anywhere; the text keeps
    // '*' and '?' as wildcards. Ordered as newestFirst().
    QList<Project> search(const QString& userText, bool* ok = nullptr) const;
    std::optional<Project> find(qint64 id, bool* ok = nullptr) const;
    // The project as stored together with its budget (Database::rowStamp of both rows): a change of
    // either at another workstation shows. Null when the project is gone, nullopt when unreadable.
    std::optional<QString> stamp(qint64 id) const;
    // Returns the number the database gave the new project.
    std::optional<qint64> add(const QString& name, std::optional<int> startDay);
    // Stores name and start date of the row project.id only; the name copies: NameCascade.
    bool update(const Project& project);
    // Removes the row of the project only; its budget: BudgetRepository.
    bool remove(qint64 id);

private:
    Database& m_db;
};
