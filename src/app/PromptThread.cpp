#include "PromptThread.h"

#include <pthread.h>
#include <sched.h>

std::thread PromptThread::start(std::function<void()> work) {
    std::thread thread(std::move(work));
    cpu_set_t others;
    const int here = sched_getcpu();
    if (sched_getaffinity(0, sizeof others, &others) == 0 && here >= 0 && here < CPU_SETSIZE) {
        CPU_CLR(here, &others);
        if (CPU_COUNT(&others) > 0)
            pthread_setaffinity_np(thread.native_handle(), sizeof others, &others);
    }
    return thread;
}
