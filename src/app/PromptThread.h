#pragma once

#include <functional>
#include <thread>

// A thread for work that the window's thread will wait for within milliseconds. A new thread waits on the
// processor of the thread that made it until that one pauses, and the window's thread does not pause
// while it sets up a window: a millisecond or more. Moved to another processor, it begins at once.
namespace PromptThread {

// Throws std::system_error where no thread can be had, as std::thread does.
std::thread start(std::function<void()> work);

} // namespace PromptThread
