// COM and the worker thread's priority.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

// A thread's second start answers S_FALSE, and each start that succeeded, S_FALSE too, needs
// its own CoUninitialize (CoInitialize, Microsoft Learn): the count shows an unbalanced one.
int32_t coInitialize() {
    if (fails("coInitialize", "")) return int32_t(0x80010106);  // RPC_E_CHANGED_MODE
    return state().comStarts++ > 0 ? 1 : 0;
}
void coUninitialize() {
    log("co uninitialize");
    --state().comStarts;
}
void lowerThreadPriority() { log("priority below normal"); }

}  // namespace platform
