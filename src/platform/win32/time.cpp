// Waits, the millisecond tick and the local date.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

void sleepMs(uint32_t ms) { Sleep(ms); }

uint32_t tickCount() { return GetTickCount(); }

LocalDate localDate() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace platform
