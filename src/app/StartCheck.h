#pragma once

#include <QString>

#include <functional>
#include <future>
#include <memory>

class Database;
class QThread;

// The start's check of the database, on a thread of its own: opens it as the start does
// (Database::Purpose::Start) and hands it to the window's thread. ahead() begins the thread before the
// window system is set up, where the ini file names a server: it loads the server's client library while
// the window's thread builds the application, and then waits for run(). The check then needs neither a
// new thread nor the library.
class StartCheck {
public:
    // The database opened, or the German message why it cannot be.
    struct Result {
        std::unique_ptr<Database> db;
        QString message;
    };

    // The thread, begun for a server named by the ini file that a start reads first (the user's own,
    // else the program's; see DatabaseLocation); null for a database file.
    static std::unique_ptr<StartCheck> ahead(const QString& programFolder, const QString& userFolder);
    // Ends the thread when run() never came.
    ~StartCheck();

    // Lets the thread check location, which locate() found, and hand it to window; once.
    std::future<Result> run(const QString& location, QThread* window);
    // Checks location on a thread begun now, once first() has returned (where given).
    static std::future<Result> runNew(const QString& location, QThread* window,
                                      std::function<void()> first = {});

private:
    explicit StartCheck(const QString& likelyLocation);
    static Result check(const QString& location, QThread* window);

    struct Order {
        QString location;
        QThread* window = nullptr;
    };
    std::promise<Order> m_order;
    std::future<Result> m_result;
};
