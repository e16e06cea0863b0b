// The procedures' waits. Off the window's thread a wait is just a wait; on it, the wait is cut
// into slices between which the window reads its messages, so that Windows never counts it
// as not responding while a removal waits there for a program or for time to pass.
#include "platform/platform.h"

namespace platform {

namespace {
bool wait(Handle process, uint32_t ms) {
    if (!onWindowThread()) return waitFor(process, ms, false) == Woken::ended;
    const uint32_t start = tickCount();
    Woken woken;
    for (;;) {
        answerMessages();
        const uint32_t spent = tickCount() - start;
        const uint32_t left = ms == WAIT_FOREVER ? WAIT_FOREVER : ms > spent ? ms - spent : 0;
        const bool lastSlice = left <= ANSWER_EVERY_MS;
        woken = waitFor(process, lastSlice ? left : ANSWER_EVERY_MS, true);
        if (woken == Woken::ended || woken == Woken::failed) break;
        if (woken == Woken::timedOut && lastSlice) break;
    }
    return woken == Woken::ended;
}
}  // namespace

void sleepMs(uint32_t ms) { wait(nullptr, ms); }

bool waitProcess(Handle process, uint32_t timeoutMs) { return wait(process, timeoutMs); }

}  // namespace platform
