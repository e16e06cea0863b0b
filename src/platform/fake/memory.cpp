// Memory blocks that fail on demand, and the ANSI code page.
#include "platform/fake/internal.h"

#include <cstdlib>
#include <cstring>

namespace platform {
using namespace fake;

void* allocateMemory(uint32_t bytes) {
    if (fails("allocateMemory", std::to_string(bytes))) return nullptr;
    ++state().open["block"];
    return malloc(bytes);
}

// HeapReAlloc resizes a block of HeapAlloc's: unlike realloc, it makes none from nothing.
void* reallocateMemory(void* block, uint32_t bytes) {
    if (!block || fails("reallocateMemory", std::to_string(bytes))) return nullptr;
    return realloc(block, bytes);
}

void freeMemory(void* block) {
    if (block) --state().open["block"];
    free(block);
}

// The fake's ANSI code page is UTF-8, so that cut texts meet characters of several bytes.
bool wideToAnsi(const char16_t* text, uint32_t units, char* out, uint32_t capacity,
                uint32_t* written) {
    std::string bytes;
    for (uint32_t i = 0; i < units; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = '?';
        if (c < 0x80) {
            bytes += char(c);
        } else if (c < 0x800) {
            bytes += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            bytes += {char(0xE0 | c >> 12), char(0x80 | ((c >> 6) & 0x3F)),
                      char(0x80 | (c & 0x3F))};
        } else {
            bytes += {char(0xF0 | c >> 18), char(0x80 | ((c >> 12) & 0x3F)),
                      char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        }
    }
    *written = 0;
    if (bytes.size() > capacity) return false;
    memcpy(out, bytes.data(), bytes.size());
    *written = uint32_t(bytes.size());
    return true;
}

}  // namespace platform
