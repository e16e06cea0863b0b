// The virtual clock: a wait costs nothing and moves the clock on. The date is the machine's.
#include <algorithm>

#include "platform/fake/internal.h"

void fake::passTime(uint64_t ms) {
    State& s = state();
    s.clockMs += ms;
    if (platform::onWindowThread())
        s.longestUnreadMs = std::max(s.longestUnreadMs, s.clockMs - s.messagesReadAtMs);
}

namespace platform {
using namespace fake;

uint32_t tickCount() { return uint32_t(state().clockMs); }
LocalDate localDate() { return state().today; }

}  // namespace platform
