// The millisecond tick and the local date (the waits: waits.cpp, message_waits.cpp).
#include <windows.h>

#include "platform/platform.h"

namespace platform {

uint32_t tickCount() { return GetTickCount(); }

LocalDate localDate() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace platform
