#include "FontsAhead.h"

#include "PromptThread.h"

#include <chrono>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <locale.h>
#include <mutex>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kAwakeWaitMs = 50;

// The reading beginBeforeLibraries() began, until begin() takes it over.
FontsAhead* g_begunBeforeLibraries = nullptr;

// X11's and Wayland's start notices; the window system's plugin removes them while the application is set
// up. Read with the C library alone, as Qt is not yet set up before the libraries.
bool startNoticeGiven() {
    return std::getenv("DESKTOP_STARTUP_ID") || std::getenv("XDG_ACTIVATION_TOKEN");
}

bool namesCacheFolder(FcConfig* config) {
    FcStrList* folders = FcConfigGetCacheDirs(config);
    const bool named = folders && FcStrListNext(folders);
    FcStrListDone(folders);
    return named;
}

// The desktop's configuration, as FcInit() reads it, less one part: FcInit() also reads every file of the
// configurations offered for choice (the library's conf.avail), none of which takes effect, only to list
// them; that is a third of its time. Read once in the process: the configuration is the process's own.
// Where the configuration is incomplete or cannot be read, FcInit() reads it and makes good what is missing.
void readConfiguration() {
    static std::once_flag once;
    std::call_once(once, [] {
        // The application sets the process's locale while the files are read ahead; the numbers in them
        // are read as the window's thread reads them, in the C locale, whatever it is set to meanwhile.
        const locale_t plain = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        const locale_t before = plain ? uselocale(plain) : static_cast<locale_t>(nullptr);
        FcConfig* config = FcConfigCreate();
        const bool read = config && FcConfigParseAndLoad(config, nullptr, FcTrue) &&
                          namesCacheFolder(config) && FcConfigSetCurrent(config);
        // The library holds the current configuration itself.
        if (config)
            FcConfigDestroy(config);
        if (!read)
            FcInit();
        if (plain) {
            uselocale(before);
            freelocale(plain);
        }
    });
}

} // namespace

std::unique_ptr<FontsAhead> FontsAhead::begin() {
    if (g_begunBeforeLibraries)
        return std::unique_ptr<FontsAhead>(std::exchange(g_begunBeforeLibraries, nullptr));
    if (!startNoticeGiven()) {
        try {
            return std::unique_ptr<FontsAhead>(new FontsAhead);
        } catch (const std::system_error&) {
            // No thread to be had.
        }
    }
    // The window's thread reads the configuration now, in the same way, before the window system changes the
    // environment.
    readConfiguration();
    return nullptr;
}

void FontsAhead::beginBeforeLibraries(char** environment) {
    // The C library sets the same environment again when it sets itself up. The program's main() then
    // only sets LC_ALL, which the reading does not look up and which never frees this array.
    if (!environ)
        environ = environment;
    if (g_begunBeforeLibraries || startNoticeGiven())
        return;
    try {
        g_begunBeforeLibraries = new FontsAhead;
    } catch (const std::system_error&) {
        // No thread to be had: begin() tries again.
    }
}

FontsAhead::FontsAhead()
    : m_read(std::make_shared<std::atomic<bool>>(false)), m_thread(PromptThread::start([read = m_read] {
          readConfiguration();
          read->store(true, std::memory_order_release);
          read->notify_all();
      })) {}

std::function<void()> FontsAhead::readWait() const {
    return [read = m_read] { read->wait(false, std::memory_order_acquire); };
}

FontsAhead::~FontsAhead() {
    // The window's thread waits awake: put to sleep, it would wake up a good while after the configuration
    // has been read. A first start, which builds the fonts' caches, is waited for asleep.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAwakeWaitMs);
    while (!m_read->load(std::memory_order_acquire) && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    // Once the configuration has been read, the thread touches nothing but what it shares with readWait().
    if (m_read->load(std::memory_order_acquire))
        m_thread.detach();
    else
        m_thread.join();
}
