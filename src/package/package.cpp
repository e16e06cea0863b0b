#include "package/package.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "app/context.h"
#include "app/paths.h"
#include "package/entry_codec.h"
#include "package/entry_name.h"
#include "package/files.h"

// The directory is used where it lies: its integers are little-endian, as is the machine.
static_assert(std::endian::native == std::endian::little);

int32_t loadPackageDirectory(InstallerContext* context) {
    platform::Resource package;
    if (!platform::lockPackage(context->instanceHandle, &package)) return -1;
    int32_t result = -1;
    if (package.size > PACKAGE_DIRECTORY_SIZE) {
        memcpy(context->packageDirectory, package.data, PACKAGE_DIRECTORY_SIZE);
        result = 0;
    }
    platform::releasePackage(&package);
    return result;
}

namespace {

bool fitsInPackage(const PackageEntry& entry, uint32_t packageSize) {
    return uint64_t(entry.dataOffset) + entry.dataSize <= packageSize;
}

// Writes one verified entry below the install folder, creating its subfolder first. Names
// that could leave the install folder, and paths that do not fit, are refused.
bool writeEntryFile(const char* installFolder, const PackageEntry& entry, const uint8_t* bytes) {
    if (!isSafeEntryName(entry.name, sizeof entry.name)) return false;
    char target[1024];
    if (!joinPath(target, installFolder, entry.name)) return false;
    size_t folderEnd = folderLength(target);
    if (strncmp(target, installFolder, folderEnd) != 0 || installFolder[folderEnd] != 0) {
        char folder[1024];
        memcpy(folder, target, folderEnd);
        folder[folderEnd] = 0;
        createFolderTree(folder);  // a failure shows in the write that follows
    }
    return writeWholeFile(target, bytes, entry.dataSize) == 1;
}

// Descrambles one entry into a block of its own and writes it: the package stays as it was
// shipped, so that a later extraction in the same process finds it scrambled still. False
// when the block cannot be had, the digest differs or the file cannot be written; the chain
// moves past the entry in every case.
bool extractEntry(const char* installFolder, const PackageEntry& entry, const uint8_t* stored,
                  PackageChain* chain) {
    auto* plain = static_cast<uint8_t*>(platform::allocateMemory(std::max(entry.dataSize, 1u)));
    if (!plain) {
        skipEntry(stored, entry.dataSize, chain);
        return false;
    }
    bool written = decodeEntryInto(stored, plain, entry.dataSize, entry.contentDigest, chain) &&
                   writeEntryFile(installFolder, entry, plain);
    platform::freeMemory(plain);
    return written;
}

}  // namespace

int32_t extractPackage(InstallerContext* context) {
    return extractPackageEntries(context, ALL_PACKAGE_ENTRIES);
}

int32_t extractPackageEntries(InstallerContext* context, uint32_t chosen) {
    platform::Resource package;
    if (!platform::lockPackage(context->instanceHandle, &package)) return -1;
    if (package.size > PACKAGE_DIRECTORY_SIZE)
        memcpy(context->packageDirectory, package.data, PACKAGE_DIRECTORY_SIZE);

    PackageChain chain;
    startChain(&chain);
    int32_t failures = 0;
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        const PackageEntry& entry = context->packageDirectory[i];
        bool wanted = (chosen >> i & 1) != 0;
        if (!fitsInPackage(entry, package.size)) {
            failures += wanted;  // no chaining: the next entry starts where this one would have
            continue;
        }
        const uint8_t* stored = package.data + entry.dataOffset;
        if (!wanted)
            skipEntry(stored, entry.dataSize, &chain);
        else if (!extractEntry(context->installFolder, entry, stored, &chain))
            ++failures;
    }
    platform::releasePackage(&package);

    if (failures > 0) return -(100 + failures);
    return context->packageDirectory[PACKAGE_ENTRY_COUNT - 1].dataSize != 0 ? 0 : -1;
}
