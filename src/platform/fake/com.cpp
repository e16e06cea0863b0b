// COM and the worker thread's priority.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

int32_t coInitialize() { return fails("coInitialize", "") ? int32_t(0x80010106) : 0; }
void coUninitialize() { log("co uninitialize"); }
void lowerThreadPriority() { log("priority below normal"); }

}  // namespace platform
