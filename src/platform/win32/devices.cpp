// The VAIO driver's device: found through its interface class, spoken to with control codes.
#include <windows.h>
// after windows.h, which it needs
#include <setupapi.h>

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {
// Our Guid has the same layout as GUID; copy field by field rather than rely on it.
GUID toGuid(const Guid& guid) {
    GUID out;
    out.Data1 = guid.data1;
    out.Data2 = guid.data2;
    out.Data3 = guid.data3;
    memcpy(out.Data4, guid.data4, sizeof out.Data4);
    return out;
}

// Opens the device path of one enumerated interface; INVALID_HANDLE_VALUE when it cannot.
HANDLE openInterface(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* data) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(set, data, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return INVALID_HANDLE_VALUE;
    auto* detail = static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(malloc(required));
    if (!detail) return INVALID_HANDLE_VALUE;
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    HANDLE device = INVALID_HANDLE_VALUE;
    if (SetupDiGetDeviceInterfaceDetailW(set, data, detail, required, nullptr, nullptr))
        device = CreateFileW(detail->DevicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    free(detail);
    return device;
}
}  // namespace

DeviceOpen openFirstDeviceInterface(const Guid& interfaceClass, Handle* device) {
    *device = nullptr;
    GUID guid = toGuid(interfaceClass);
    HDEVINFO set =
        SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return DeviceOpen::none;
    SP_DEVICE_INTERFACE_DATA data;
    memset(&data, 0, sizeof data);
    data.cbSize = sizeof data;
    if (!SetupDiEnumDeviceInterfaces(set, nullptr, &guid, 0, &data)) {
        SetupDiDestroyDeviceInfoList(set);
        return DeviceOpen::none;
    }
    HANDLE opened = openInterface(set, &data);
    SetupDiDestroyDeviceInfoList(set);
    if (opened == INVALID_HANDLE_VALUE) return DeviceOpen::openFailed;
    *device = opened;
    return DeviceOpen::opened;
}

bool deviceControl(Handle device, uint32_t code, const void* in, uint32_t inSize, void* out,
                   uint32_t outSize, uint32_t* returned) {
    DWORD bytes = 0;
    BOOL ok =
        DeviceIoControl(device, code, const_cast<void*>(in), inSize, out, outSize, &bytes, nullptr);
    *returned = bytes;
    return ok != FALSE;
}

// Every device of every class, present or not (no DIGCF_PRESENT), by its hardware IDs: those
// that its driver package names it by, whether or not its driver ever started.
// learn.microsoft.com/windows/win32/api/setupapi/nf-setupapi-setupdigetclassdevsw
bool hardwareIdHasDevice(const char* hardwareId) {
    Wide wanted(hardwareId);
    if (!wanted.ok) return false;
    HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) return false;
    SP_DEVINFO_DATA device = {sizeof device, {}, 0, 0};
    bool found = false;
    for (DWORD i = 0; !found && SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        wchar_t ids[512] = {};  // REG_MULTI_SZ: the last two units stay its terminators
        DWORD type = 0;
        if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID, &type,
                                               reinterpret_cast<BYTE*>(ids),
                                               sizeof ids - 2 * sizeof *ids, nullptr) ||
            type != REG_MULTI_SZ)
            continue;
        for (const wchar_t* id = ids; *id && !found; id += lstrlenW(id) + 1)
            found = lstrcmpiW(id, wanted.text) == 0;
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

void closeHandle(Handle handle) {
    if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

}  // namespace platform
