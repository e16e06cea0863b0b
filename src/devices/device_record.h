// One audio device of the inventory (an MME wave device or an audio endpoint), with its
// fixed-capacity texts, and the order in which the inventory keeps them.
#pragma once
#include <cstddef>
#include <cstdint>

struct DeviceRecord {
    int32_t deviceIndex;
    char nameAnsi[256];
    char16_t name[256];
    uint8_t endpointFormat[18];  // WAVEFORMATEX head
    uint8_t deviceFormat[18];
    uint32_t channels;
    uint32_t kind;
    uint32_t formFactor;
    char16_t description[128];
    char16_t interfaceName[128];
    char interfacePathAnsi[512];
    char16_t interfacePath[512];
    char matchingDeviceId[128];
    char16_t iconPath[512];
    char16_t endpointKey[64];
    uint32_t flags;
};

enum : uint32_t {
    KIND_CAPTURE = 0x100000,
    KIND_MME = 0x1,
    KIND_ENDPOINT = 0x4,
    KIND_MME_IN = KIND_CAPTURE | KIND_MME,
    KIND_ENDPOINT_IN = KIND_CAPTURE | KIND_ENDPOINT,
};
enum : uint32_t {
    FLAG_VALUE3_PRESENT = 0x10,
    FLAG_VALUE3_SET = 0x20,  // absent or non-zero
    FLAG_VALUE4_PRESENT = 0x40,
    FLAG_VALUE4_SET = 0x80,
    FLAG_CAPTURE_BOOL = 0x100,
    FLAG_LONG_BINARY = 0x200,
};

// Endpoints first, then MME devices; each group in ordinal order of name.
int32_t compareDevices(const void* a, const void* b);

// Copies a text into a field of `capacity` units, cut to capacity - 1 units but never
// between the two halves of a surrogate pair.
void copyWide(char16_t* out, uint32_t capacity, const char16_t* text);
// The ANSI copy of a text, cut to whole characters that fit capacity - 1 bytes.
void copyAnsi(char* out, uint32_t capacity, const char16_t* text);
// The field's own size, so that no copy can name a capacity the field does not have.
template <size_t N>
void copyWide(char16_t (&out)[N], const char16_t* text) {
    copyWide(out, uint32_t(N), text);
}
template <size_t N>
void copyAnsi(char (&out)[N], const char16_t* text) {
    copyAnsi(out, uint32_t(N), text);
}
uint32_t wideLength(const char16_t* text, uint32_t capacity);
// The text after the last `mark`, or the whole text.
const char16_t* afterLast(const char16_t* text, char16_t mark);
// Whether the field holds `part` anywhere (case-sensitive); both end within the field.
bool wideContains(const char16_t* text, uint32_t capacity, const char16_t* part);
template <size_t N>
bool wideContains(const char16_t (&field)[N], const char16_t* part) {
    return wideContains(field, uint32_t(N), part);
}
