// Waits and the millisecond tick.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

void sleepMs(uint32_t ms) { Sleep(ms); }

uint32_t tickCount() { return GetTickCount(); }

}  // namespace platform
