// Loading a module into this process and calling its self-registration entry points.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {
HMODULE asModule(ModuleHandle module) { return static_cast<HMODULE>(module); }

// A function of Kernel32, which every process has loaded; null where this system lacks it.
FARPROC kernelExport(const char* name) {
    HMODULE kernel = GetModuleHandleA("Kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}
}  // namespace

ModuleHandle loadModule(const char* path) {
    Wide widePath(path);
    return widePath.ok ? LoadLibraryW(widePath.text) : nullptr;
}

// Once the search is restricted to the system folder, a plain load no longer finds what a
// module imports from its own folder; LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR adds that folder for
// this load alone. The flags exist where SetDefaultDllDirectories does (Vista and 7 need
// KB2533623); elsewhere nothing is restricted, and LOAD_WITH_ALTERED_SEARCH_PATH puts the
// module's folder first. See
// learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-loadlibraryexw
ModuleHandle loadModuleWithItsFolder(const char* path) {
    Wide wide(path);
    if (!wide.ok) return nullptr;
    DWORD flags = kernelExport("SetDefaultDllDirectories")
                      ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                      : LOAD_WITH_ALTERED_SEARCH_PATH;
    return LoadLibraryExW(wide.text, nullptr, flags);
}

void restrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    constexpr DWORD SEARCH_SYSTEM32 = 0x800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(kernelExport("SetDefaultDllDirectories")));
    if (setDefault) setDefault(SEARCH_SYSTEM32);
}

bool kernelHasExport(const char* name) { return kernelExport(name) != nullptr; }

uint32_t systemFolder(char* out, uint32_t capacity) {
    wchar_t folder[MAX_PATH];
    return pathFromWide(folder, GetSystemDirectoryW(folder, MAX_PATH), MAX_PATH, out, capacity);
}

bool hasExport(ModuleHandle module, const char* name) {
    return GetProcAddress(asModule(module), name) != nullptr;
}

int32_t callExport(ModuleHandle module, const char* name) {
    using EntryPoint = HRESULT(STDAPICALLTYPE*)();
    FARPROC found = GetProcAddress(asModule(module), name);
    if (!found) return E_FAIL;
    return reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(found))();
}

void freeModule(ModuleHandle module) { FreeLibrary(asModule(module)); }

void coFreeModule(ModuleHandle module) { CoFreeLibrary(asModule(module)); }

}  // namespace platform
