// The virtual clock: a wait costs nothing and moves the clock on. The date is the machine's.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

void sleepMs(uint32_t ms) {
    state().clockMs += ms;
    log("sleep " + std::to_string(ms));
}
uint32_t tickCount() { return uint32_t(state().clockMs); }
LocalDate localDate() { return state().today; }

}  // namespace platform
