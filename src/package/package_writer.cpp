#include "package/package_writer.h"

#include <bit>
#include <cstring>

#include "package/entry_codec.h"
#include "package/entry_name.h"

// Entries are stored as they lie in memory; the format is little-endian.
static_assert(std::endian::native == std::endian::little);

bool writePackage(const PackageFile files[PACKAGE_ENTRY_COUNT], std::vector<uint8_t>* out) {
    uint64_t total = PACKAGE_DIRECTORY_SIZE;
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        if (strlen(files[i].name) >= sizeof PackageEntry::name ||
            !isSafeEntryName(files[i].name, strlen(files[i].name) + 1))
            return false;
        total += files[i].size;
    }
    if (total > UINT32_MAX) return false;

    std::vector<uint8_t> package(total);
    PackageChain chain;
    startChain(&chain);
    uint32_t offset = PACKAGE_DIRECTORY_SIZE;
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        PackageEntry entry = {};
        strcpy(entry.name, files[i].name);
        entry.dataOffset = offset;
        entry.dataSize = files[i].size;
        uint8_t* data = package.data() + offset;
        if (files[i].size > 0) memcpy(data, files[i].data, files[i].size);
        encodeEntry(data, files[i].size, entry.contentDigest, &chain);
        memcpy(package.data() + i * PACKAGE_ENTRY_SIZE, &entry, sizeof entry);
        offset += files[i].size;
    }
    out->swap(package);
    return true;
}
