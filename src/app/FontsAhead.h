#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// The desktop's font configuration, some dozens of files, is read once in a process, when the first text is
// measured: on the window's thread that is a sixth of a start. A thread of its own reads it while the
// libraries and the window system are set up; the start waits for it before it builds its first window.
class FontsAhead {
public:
    // Call after ApplicationSetup::prepareEnvironment(), before the QApplication is made. Takes over the
    // reading beginBeforeLibraries() began, if it did. Null where the window system takes a desktop's start
    // notice out of the environment while the application is set up: the thread would read the
    // environment while it changes. The calling thread then reads the configuration itself, at once.
    static std::unique_ptr<FontsAhead> begin();
    // Begins the reading half a millisecond sooner: for a function of the program's .preinit_array, which
    // runs before the libraries set themselves up, with the environment it is given. The C library takes
    // that environment over only while it sets itself up; the reading looks up its folders in it before,
    // so it is handed over here.
    static void beginBeforeLibraries(char** environment);
    // Waits until the configuration has been read.
    ~FontsAhead();

    // A call that waits, asleep, until the configuration has been read: for work that would only compete
    // with the reading for the processors. It may be made after this object has gone.
    std::function<void()> readWait() const;

    FontsAhead(const FontsAhead&) = delete;
    FontsAhead& operator=(const FontsAhead&) = delete;

private:
    FontsAhead();

    // Set by the thread once the configuration has been read.
    std::shared_ptr<std::atomic<bool>> m_read;
    std::thread m_thread;
};
