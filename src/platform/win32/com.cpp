// COM for the calling thread, and the install worker's priority.
#include <objbase.h>
#include <windows.h>

#include "platform/platform.h"

namespace platform {

int32_t coInitialize() { return CoInitialize(nullptr); }

void coUninitialize() { CoUninitialize(); }

void lowerThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

}  // namespace platform
