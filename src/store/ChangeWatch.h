#pragma once

#include <memory>
#include <optional>
#include <QObject>
#include <QTimer>

class Database;

// Tells a screen that another workstation changed the data it shows. On the server the notifications of
// every committed change arrive by themselves, through a connection of their own; a burst of them is told
// once. On the file check() asks, when the window is activated, whether another connection committed a
// change since it last asked.
class ChangeWatch : public QObject {
    Q_OBJECT
public:
    explicit ChangeWatch(Database& db, QObject* parent = nullptr);
    ~ChangeWatch() override;

    void check();

signals:
    void changed();

private:
    Database& m_db;
    std::unique_ptr<Database> m_listener;
    QString m_ownSession;
    std::optional<qint64> m_count;
    QTimer m_gather;
};
