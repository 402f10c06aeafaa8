#include "StartCheck.h"

#include "Database.h"
#include "DatabaseLocation.h"
#include "PromptThread.h"

#include <QThread>

std::unique_ptr<StartCheck> StartCheck::ahead(const QString& programFolder, const QString& userFolder) {
    const QString server =
        DatabaseLocation::configuredServer(DatabaseLocation::hasIni(userFolder) ? userFolder : programFolder);
    return server.isEmpty() ? nullptr : std::unique_ptr<StartCheck>(new StartCheck(server));
}

StartCheck::StartCheck(const QString& likelyLocation) {
    m_result = PromptThread::async([likelyLocation, order = m_order.get_future()]() mutable {
        Database::loadClient(likelyLocation);
        const Order given = order.get();
        return given.location.isEmpty() ? Result() : check(given.location, given.window);
    });
}

StartCheck::~StartCheck() {
    if (m_result.valid())
        m_order.set_value(Order());
}

std::future<StartCheck::Result> StartCheck::run(const QString& location, QThread* window) {
    if (!m_result.valid())
        return runNew(location, window);
    m_order.set_value(Order{location, window});
    return std::move(m_result);
}

std::future<StartCheck::Result> StartCheck::runNew(const QString& location, QThread* window,
                                                   std::function<void()> first) {
    return PromptThread::async([location, window, first = std::move(first)] {
        if (first)
            first();
        return check(location, window);
    });
}

StartCheck::Result StartCheck::check(const QString& location, QThread* window) {
    Result result;
    result.db = Database::open(location, nullptr, &result.message, Database::defaultBusyTimeoutMs(),
                               Database::Purpose::Start);
    if (result.db)
        result.db->moveToThread(window);
    return result;
}
