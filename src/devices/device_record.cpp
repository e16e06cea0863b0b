#include "devices/device_record.h"

#include "platform/platform.h"

namespace {
bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
}  // namespace

int32_t compareDevices(const void* first, const void* second) {
    const auto* a = static_cast<const DeviceRecord*>(first);
    const auto* b = static_cast<const DeviceRecord*>(second);
    int rankA = (a->kind & 0xFFFF) == KIND_MME ? 2 : 0;
    int rankB = (b->kind & 0xFFFF) == KIND_MME ? 2 : 0;
    if (rankA != rankB) return rankA < rankB ? -1 : 1;
    for (uint32_t i = 0; i < 256; ++i) {
        if (a->name[i] != b->name[i]) return a->name[i] < b->name[i] ? -1 : 1;
        if (a->name[i] == 0) break;
    }
    return 0;
}

uint32_t wideLength(const char16_t* text, uint32_t capacity) {
    uint32_t length = 0;
    while (length < capacity && text[length]) ++length;
    return length;
}

void copyWide(char16_t* out, uint32_t capacity, const char16_t* text) {
    uint32_t length = wideLength(text, capacity - 1);
    if (length == capacity - 1 && text[length] && isHighSurrogate(text[length - 1])) --length;
    for (uint32_t i = 0; i < length; ++i) out[i] = text[i];
    out[length] = 0;
}

void copyAnsi(char* out, uint32_t capacity, const char16_t* text) {
    uint32_t units = wideLength(text, 0xFFFF), written = 0;
    // Fewer units until the conversion fits; the first try fits in all but rare cases.
    while (units > 0 && !platform::wideToAnsi(text, units, out, capacity - 1, &written))
        units -= units > 1 && isHighSurrogate(text[units - 2]) ? 2 : 1;
    out[units ? written : 0] = 0;
}

const char16_t* afterLast(const char16_t* text, char16_t mark) {
    const char16_t* after = text;
    for (; *text; ++text)
        if (*text == mark) after = text + 1;
    return after;
}

bool wideContains(const char16_t* text, uint32_t capacity, const char16_t* part) {
    uint32_t length = wideLength(text, capacity), partLength = wideLength(part, capacity);
    for (uint32_t start = 0; start + partLength <= length; ++start) {
        uint32_t i = 0;
        while (i < partLength && text[start + i] == part[i]) ++i;
        if (i == partLength) return true;
    }
    return false;
}
