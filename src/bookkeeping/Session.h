#pragma once

#include "Right.h"

#include <memory>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class ChangeListener;
class ChangeWatch;
class Database;

// The data of one program run: one connection, shared by all its windows, and one listener for the
// changes of other workstations, which each window follows through a ChangeWatch of its own. The
// operations of the office's work run on it and count what they write, so that the other windows of the
// program refill their lists when they are activated.
class Session : public QObject {
    Q_OBJECT
public:
    // Opens the file or the server's database of location; null, with the German message naming the
    // place and the reason, when it cannot be opened.
    static std::unique_ptr<Session> open(const QString& location, QString* germanMessage = nullptr);
    explicit Session(std::unique_ptr<Database> db, QObject* parent = nullptr);
    ~Session() override;

    // For the operations and readings of this layer; screens use those.
    Database& database() { return *m_db; }
    // Where the data live, for the user: the file's path, or the database on its server.
    QString place() const;
    QString location() const;
    bool onServer() const;
    // Whether the login holds right, as the server's roles said when the data were opened; on the file
    // every right is held. The server refuses what its roles forbid anyway; screens only mirror it.
    bool may(Right right) const { return m_rights.contains(right); }
    // What opening found that the user should know although the data are open.
    QStringList notices() const;
    // Of those, what the session found beyond the database's opening (a journal begun anew).
    QStringList ownNotices() const { return m_notices; }

    // Follows the changes for window (its parent): see ChangeWatch.
    ChangeWatch* watch(QObject* window);
    ChangeListener& listener() { return *m_listener; }

    // Called by the operations after a change was committed.
    void wrote() { ++m_writes; }
    // How many changes the program committed in this run.
    quint64 writes() const { return m_writes; }

private:
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ChangeListener> m_listener;
    quint64 m_writes = 0;
    QStringList m_notices;
    QSet<Right> m_rights;
};
