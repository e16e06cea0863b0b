// One record of the package directory, exactly as it lies in the package (160 bytes,
// little-endian integers).
#pragma once
#include <cstdint>

constexpr int PACKAGE_ENTRY_COUNT = 23;
constexpr uint32_t PACKAGE_ENTRY_SIZE = 160;
constexpr uint32_t PACKAGE_DIRECTORY_SIZE = PACKAGE_ENTRY_COUNT * PACKAGE_ENTRY_SIZE;  // 3680

struct PackageEntry {
    char name[128];
    uint32_t dataOffset;
    uint32_t dataSize;
    uint8_t contentDigest[16];
    uint32_t reserved[2];
};
static_assert(sizeof(PackageEntry) == PACKAGE_ENTRY_SIZE);

// The shipped directory order; the installer treats the entries alike, other code finds
// files by these names.
extern const char* const PACKAGE_FILE_NAMES[PACKAGE_ENTRY_COUNT];
