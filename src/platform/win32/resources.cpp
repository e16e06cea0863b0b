// The package resource (RT_RCDATA 100). Resource pages are mapped read-only; extraction
// descrambles in place, so the package's pages are made copy-on-write first.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool lockPackage(ModuleHandle instance, Resource* resource) {
    HMODULE module = static_cast<HMODULE>(instance);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, found);
    DWORD oldProtection;
    if (!data || !VirtualProtect(data, size, PAGE_WRITECOPY, &oldProtection)) return false;
    resource->data = static_cast<uint8_t*>(data);
    resource->size = size;
    return true;
}

// Nothing to free: the resource lives in the program's image until the process ends.
void releasePackage(Resource* resource) { resource->data = nullptr; }

}  // namespace platform
