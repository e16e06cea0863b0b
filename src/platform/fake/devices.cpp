// The VAIO device interface: opened as the test sets it, answered by its control routine, which
// may answer fewer bytes than the caller's buffer holds, as a driver may.
#include "platform/fake/internal.h"

#include <cstdio>

namespace platform {
using namespace fake;

DeviceOpen openFirstDeviceInterface(const Guid& c, Handle* device) {
    char guid[40];
    snprintf(guid, sizeof guid, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", c.data1,
             c.data2, c.data3, c.data4[0], c.data4[1], c.data4[2], c.data4[3], c.data4[4],
             c.data4[5], c.data4[6], c.data4[7]);
    log(std::string("interface ") + guid);
    *device = nullptr;
    if (state().deviceOpen != DeviceOpen::opened) return state().deviceOpen;
    ++state().open["device"];
    *device = reinterpret_cast<Handle>(1);
    return state().deviceOpen;
}

bool deviceControl(Handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                   uint32_t outSize, uint32_t* returned) {
    *returned = 0;
    int32_t answered = state().deviceControl ? state().deviceControl(code, in, inSize, out, outSize)
                                             : -1;
    if (answered < 0) return false;
    *returned = uint32_t(answered) < outSize ? uint32_t(answered) : outSize;
    return true;
}

bool hardwareIdHasDevice(const char* hardwareId) {
    return state().deviceHardwareIds.count(lower(hardwareId)) > 0;
}

// CloseHandle refuses a handle that was never opened (ERROR_INVALID_HANDLE): counted as one
// left open, so that a close without its open cannot hide an open without its close.
void closeHandle(Handle handle) {
    log("close handle " + std::to_string(reinterpret_cast<uintptr_t>(handle)));
    --state().open[handle ? "device" : "device never opened, closed"];
}

}  // namespace platform
