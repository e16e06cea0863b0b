// Loading a module into this process and calling its self-registration entry points.
#include <windows.h>

#include "platform/platform.h"

namespace platform {
namespace {
HMODULE asModule(ModuleHandle module) { return static_cast<HMODULE>(module); }
}  // namespace

ModuleHandle loadModule(const char* path) { return LoadLibraryA(path); }

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
