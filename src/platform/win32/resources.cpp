// The package resource (RT_RCDATA 100), read where the program's image holds it.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool lockPackage(ModuleHandle instance, Resource* resource) {
    HMODULE module = static_cast<HMODULE>(instance);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    resource->data = static_cast<const uint8_t*>(data);
    resource->size = SizeofResource(module, found);
    return true;
}

// Nothing to free: the resource lives in the program's image until the process ends.
void releasePackage(Resource* resource) { resource->data = nullptr; }

}  // namespace platform
