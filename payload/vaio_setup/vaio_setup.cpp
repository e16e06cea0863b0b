// QLOrvaloVAIO_Setup_x64: installs and removes the VAIO driver component from the driver
// files in its current folder.
//   -i   install: the driver file in the system's driver folder (the ARM64 image on ARM64
//        Windows, the x86-64 one elsewhere, under the one name), the driver's device and its
//        control interface, the kernel driver service (started at once and with every
//        session), and the endpoint store entries of the driver's 16 audio endpoints
//   -u   remove all of that again; the driver is stopped first
//   -h -H -n are accepted and change nothing: this program never shows anything and never
//   asks for a restart.
// Exit codes: 0 done; -1 driver files missing from the current folder; -2 a service key
// could not be written or the service not started; -3 the driver file could not be copied;
// -4 neither -i nor -u; -5 the device or its interface could not be made; -6 the endpoint
// entries could not be written.
#include "vaio_setup.h"

#include <windows.h>

#include <initializer_list>

#include "driver_image.h"
#include "../common/command_line.h"
#include "../common/library_search.h"
#include "../common/report.h"

namespace {

enum ExitCode {
    DONE = 0,
    FILES_MISSING = -1,
    SERVICE_FAILED = -2,
    COPY_FAILED = -3,
    NO_ACTION = -4,
    DEVICE_FAILED = -5,
    ENDPOINTS_FAILED = -6
};

// The machine that Windows runs on; 0 where IsWow64Process2 is missing (before Windows 10
// 1709, when ARM64 Windows ran no x86-64 program) or fails.
USHORT nativeMachine() {
    typedef BOOL(WINAPI * IsWow64Process2Function)(HANDLE, USHORT*, USHORT*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    IsWow64Process2Function machines =
        kernel ? (IsWow64Process2Function)(void*)GetProcAddress(kernel, "IsWow64Process2")
               : nullptr;
    USHORT process = 0, native = 0;
    return machines && machines(GetCurrentProcess(), &process, &native) ? native : 0;
}

bool packageFilesPresent(const char* image) {
    for (const char* name : {"qlorvalovaio64_win10.inf", "qlorvalovaio64_win10.cat", image}) {
        DWORD attributes = GetFileAttributesA(name);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            reportError("QLOrvaloVAIO_Setup: %s is missing from the current folder", name);
            return false;
        }
    }
    return true;
}

bool installedDriverPath(char* path, DWORD size) {
    static const char tail[] = "\\drivers\\qlorvalovaio64_win10.sys";
    UINT length = GetSystemDirectoryA(path, size);
    if (length == 0 || length + sizeof tail > size) return false;
    lstrcpyA(path + length, tail);
    return true;
}

int install() {
    const char* image = driverImageFor(nativeMachine());
    if (!packageFilesPresent(image)) return FILES_MISSING;
    char target[MAX_PATH], interfacePath[512];
    // A driver that runs already holds its file: it stays in place, as it is.
    if (!installedDriverPath(target, sizeof target) ||
        (!CopyFileA(image, target, FALSE) &&
         (GetLastError() != ERROR_SHARING_VIOLATION ||
          GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES))) {
        reportError("QLOrvaloVAIO_Setup: cannot copy %s to the driver folder (error %lu)",
                    image, GetLastError());
        return COPY_FAILED;
    }
    if (!makeDeviceInterface(interfacePath, sizeof interfacePath)) {
        reportError("QLOrvaloVAIO_Setup: cannot make the driver's device (error %lu)",
                    GetLastError());
        return DEVICE_FAILED;
    }
    if (!installDriverService(interfacePath)) {
        reportError("QLOrvaloVAIO_Setup: cannot install or start the driver service (error %lu)",
                    GetLastError());
        return SERVICE_FAILED;
    }
    if (!writeEndpoints(interfacePath)) {
        reportError("QLOrvaloVAIO_Setup: cannot write the endpoint entries (error %lu)",
                    GetLastError());
        return ENDPOINTS_FAILED;
    }
    return DONE;
}

// Removal is best effort: whatever is already gone is not an error. The driver stops before
// its file goes; a file still held goes at the next restart.
int uninstall() {
    removeDriverService();
    removeDeviceInterface();
    removeEndpoints();
    char target[MAX_PATH];
    if (installedDriverPath(target, sizeof target) && !DeleteFileA(target) &&
        GetLastError() != ERROR_FILE_NOT_FOUND)
        MoveFileExA(target, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return DONE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    restrictLibrarySearch();  // before anything is loaded
    const char* arguments = cmdline::argumentsOf(GetCommandLineA());
    if (cmdline::hasFlag(arguments, 'u')) return uninstall();
    if (cmdline::hasFlag(arguments, 'i')) return install();
    reportError("QLOrvaloVAIO_Setup: usage: QLOrvaloVAIO_Setup_x64 -i | -u [-h] [-H] [-n]");
    return NO_ACTION;
}
