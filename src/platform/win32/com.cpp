// COM for the calling thread, and the install worker's priority.
#include <windows.h>
// after windows.h, which it needs
#include <objbase.h>

#include "platform/platform.h"

namespace platform {

int32_t coInitialize() { return CoInitialize(nullptr); }

void coUninitialize() { CoUninitialize(); }

void lowerThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

}  // namespace platform
