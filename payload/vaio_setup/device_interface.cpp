// The VAIO device: a root-enumerated media device whose one interface is the VAIO control
// interface. The interface counts as present only while the driver runs, which marks it so.
#include "vaio_setup.h"
// after windows.h, which it needs
#include <setupapi.h>

namespace {
const char INSTANCE_ID[] = "ROOT\\QLOrvaloVAIO\\0000";
const wchar_t HARDWARE_IDS[] = L"ROOT\\QLOrvaloVAIO\0";  // REG_MULTI_SZ, as the INF names it
// {66CAA746-1518-4C53-B6E6-9E550A734FD1}
const GUID CONTROL_INTERFACE = {
    0x66CAA746, 0x1518, 0x4C53, {0xB6, 0xE6, 0x9E, 0x55, 0x0A, 0x73, 0x4F, 0xD1}};
// {4D36E96C-E325-11CE-BFC1-08002BE10318}
const GUID MEDIA_CLASS = {
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

bool openOrCreateDevice(HDEVINFO set, SP_DEVINFO_DATA* device) {
    if (SetupDiOpenDeviceInfoA(set, INSTANCE_ID, nullptr, 0, device)) return true;
    return SetupDiCreateDeviceInfoA(set, INSTANCE_ID, &MEDIA_CLASS, "Quillon Orvalo VAIO", nullptr,
                                    0, device) &&
           SetupDiRegisterDeviceInfo(set, device, 0, nullptr, nullptr, nullptr);
}
}  // namespace

bool makeDeviceInterface(char* path, DWORD size) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(&MEDIA_CLASS, nullptr);
    if (set == INVALID_HANDLE_VALUE) return false;
    SP_DEVINFO_DATA device = {sizeof device, {}, 0, 0};
    SP_DEVICE_INTERFACE_DATA interfaceData = {sizeof interfaceData, {}, 0, 0};
    union {
        SP_DEVICE_INTERFACE_DETAIL_DATA_A detail;
        char bytes[1024];
    } detail;
    detail.detail.cbSize = sizeof detail.detail;
    bool made = openOrCreateDevice(set, &device) &&
                SetupDiSetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID,
                                                  (const BYTE*)HARDWARE_IDS,
                                                  sizeof HARDWARE_IDS) &&
                SetupDiCreateDeviceInterfaceA(set, &device, &CONTROL_INTERFACE, nullptr, 0,
                                              &interfaceData) &&
                SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, &detail.detail, sizeof detail,
                                                 nullptr, nullptr) &&
                (DWORD)lstrlenA(detail.detail.DevicePath) < size;
    if (made) lstrcpyA(path, detail.detail.DevicePath);
    SetupDiDestroyDeviceInfoList(set);
    return made;
}

// Removing the device takes its interface and its instance key with it.
void removeDeviceInterface() {
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device = {sizeof device, {}, 0, 0};
    if (SetupDiOpenDeviceInfoA(set, INSTANCE_ID, nullptr, 0, &device))
        SetupDiRemoveDevice(set, &device);
    SetupDiDestroyDeviceInfoList(set);
}
