// The package resource, from the machine's package bytes.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

bool lockPackage(ModuleHandle, Resource* resource) {
    if (!state().packagePresent) return false;
    resource->data = state().package.data();
    resource->size = uint32_t(state().package.size());
    return true;
}

void releasePackage(Resource* resource) { resource->data = nullptr; }

}  // namespace platform
