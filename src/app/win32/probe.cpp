#include "app/win32/probe.h"

#include <windows.h>

#include <initializer_list>

#include "app/machine.h"
#include "app/os_version.h"
#include "platform/win32/wide.h"

namespace {
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
using GetVersionExAFunction = BOOL(WINAPI*)(OSVERSIONINFOA*);
using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

template <typename Function>
Function lookUp(const char* module, const char* name) {
    HMODULE handle = GetModuleHandleA(module);
    if (!handle) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

static_assert(sizeof(OSVERSIONINFOEXA) == 156 && sizeof(OSVERSIONINFOA) == 148);
static_assert(sizeof(RTL_OSVERSIONINFOW) == 276);
}  // namespace

// IsWow64Process2 names the machine itself: on ARM64 it answers ARM64, not only "WOW64".
// learn.microsoft.com/windows/win32/api/wow64apiset/nf-wow64apiset-iswow64process2
int32_t detect64BitSystem() {
    MachineReport report{};
    if (auto machines = lookUp<IsWow64Process2Function>("Kernel32.dll", "IsWow64Process2")) {
        USHORT process = 0, native = 0;
        report.machineKnown = machines(GetCurrentProcess(), &process, &native) != FALSE;
        report.nativeMachine = native;
    }
#ifdef _WIN64
    report.wow64Known = report.wow64 = true;  // a 64-bit process runs on 64-bit Windows
#else
    if (auto isWow64 = lookUp<IsWow64ProcessFunction>("Kernel32.dll", "IsWow64Process")) {
        BOOL wow64 = FALSE;
        report.wow64Known = isWow64(GetCurrentProcess(), &wow64) != FALSE;
        report.wow64 = wow64 != FALSE;
    }
#endif
    return sixtyFourBitFlag(report);
}

int32_t probeOsCode() {
    OsVersionReport report{};
    OSVERSIONINFOEXA info{};
    auto getVersion = lookUp<GetVersionExAFunction>("Kernel32.dll", "GetVersionExA");
    if (getVersion) {
        report.userCallExists = true;
        for (DWORD size : {156u, 156u, 148u}) {  // the extended form twice, then the basic one
            info.dwOSVersionInfoSize = size;
            if (getVersion(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
                report.userCallSize = size;
                break;
            }
        }
        report.major = info.dwMajorVersion;
        report.minor = info.dwMinorVersion;
        report.productType = info.wProductType;
    }
    auto rtlGetVersion = lookUp<RtlGetVersionFunction>("Ntdll.dll", "RtlGetVersion");
    if (rtlGetVersion) {
        RTL_OSVERSIONINFOW kernel{};
        kernel.dwOSVersionInfoSize = sizeof kernel;
        report.kernelCallExists = true;
        report.kernelStatus = rtlGetVersion(&kernel);
        report.kernelMajor = kernel.dwMajorVersion;
        report.kernelMinor = kernel.dwMinorVersion;
    }
    return classifyOs(report);
}

// A path that does not fit comes back cut (on Windows XP unterminated), with the buffer's
// length: it is refused, never taken cut.
bool ownProgramPath(char* out, uint32_t capacity) {
    wchar_t path[platform::WIDE_CAPACITY];
    DWORD length = GetModuleFileNameW(nullptr, path, platform::WIDE_CAPACITY);
    uint32_t bytes = platform::pathFromWide(path, length, platform::WIDE_CAPACITY, out, capacity);
    return bytes > 0 && bytes < capacity;
}
