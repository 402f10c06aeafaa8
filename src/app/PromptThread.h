#pragma once

#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <type_traits>

// A thread for work that the window's thread will wait for within milliseconds. A new thread waits on the
// processor of the thread that made it until that one pauses, and the window's thread does not pause
// while it sets up a window: a millisecond or more. Moved to another processor, it begins at once, and it
// stays off the window's processor, where it would take turns with the window's thread.
namespace PromptThread {

// Throws std::system_error where no thread can be had, as std::thread does.
std::thread start(std::function<void()> work);

// Joins its thread when it goes.
class JoinedThread {
public:
    explicit JoinedThread(std::thread begun) : m_thread(std::move(begun)) {}
    JoinedThread(const JoinedThread&) = delete;
    JoinedThread& operator=(const JoinedThread&) = delete;
    ~JoinedThread() {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};

// As std::async(std::launch::async, work), on a prompt thread: the future gives work's result and, like
// std::async's, waits for the thread when it goes. Throws std::system_error where no thread can be had.
template <typename Work> std::future<std::invoke_result_t<Work>> async(Work work) {
    using Result = std::invoke_result_t<Work>;
    auto task = std::make_shared<std::packaged_task<Result()>>(std::move(work));
    std::future<Result> result = task->get_future();
    auto joined = std::make_unique<JoinedThread>(start([task] { (*task)(); }));
    // The deferred call only hands on the thread's result; its state owns the thread and joins it.
    return std::async(std::launch::deferred, [joined = std::move(joined),
                                              result = std::move(result)]() mutable { return result.get(); });
}

} // namespace PromptThread
