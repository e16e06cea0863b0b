// The process heap for the device lists, and the system code page's conversion.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

void* allocateMemory(uint32_t bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes); }

void* reallocateMemory(void* block, uint32_t bytes) {
    return HeapReAlloc(GetProcessHeap(), 0, block, bytes);  // null leaves the block as it was
}

void freeMemory(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

bool wideToAnsi(const char16_t* text, uint32_t units, char* out, uint32_t capacity,
                uint32_t* written) {
    *written = 0;
    if (units == 0) return true;
    int bytes = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text), int(units),
                                    out, int(capacity), nullptr, nullptr);
    if (bytes <= 0) return false;  // also when it does not fit
    *written = uint32_t(bytes);
    return true;
}

}  // namespace platform
