#pragma once

#include <atomic>
#include <memory>
#include <thread>

// The desktop's font configuration, some dozens of files, is read once in a process, when the first text is
// measured: on the window's thread that is a sixth of a start. begin() reads it on a thread of its own while
// the window system is set up; the start waits for it before it builds its first window.
class FontsAhead {
public:
    // Call after ApplicationSetup::prepareEnvironment(), before the QApplication is made. Null where the
    // window system takes a desktop's start notice out of the environment while the application is set
    // up: the thread would read the environment while it changes.
    static std::unique_ptr<FontsAhead> begin();
    // Waits until the configuration has been read.
    ~FontsAhead();

    FontsAhead(const FontsAhead&) = delete;
    FontsAhead& operator=(const FontsAhead&) = delete;

private:
    FontsAhead();

    std::atomic<bool> m_read{false};
    std::thread m_thread;
};
