#pragma once

#include <optional>
#include <QString>

// How an engine tells of other workstations' changes: the file by a number that changes with every
// change another connection commits, the server by notifying a channel.
struct ChangeNotice {
    // The query of that number.
    std::optional<QString> countQuery;
    // The channel the server notifies of every change, with the changing session as payload, and the
    // query of this connection's own session.
    struct Channel {
        QString name;
        QString sessionQuery;
    };
    std::optional<Channel> channel;
};
