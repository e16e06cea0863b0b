#include "package/package.h"

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

}  // namespace

int32_t extractPackage(InstallerContext* context) {
    platform::Resource package;
    if (!platform::lockPackage(context->instanceHandle, &package)) return -1;
    if (package.size > PACKAGE_DIRECTORY_SIZE)
        memcpy(context->packageDirectory, package.data, PACKAGE_DIRECTORY_SIZE);

    PackageChain chain;
    startChain(&chain);
    int32_t failures = 0;
    uint32_t lastEntrySize = 0;
    for (const PackageEntry& entry : context->packageDirectory) {
        lastEntrySize = entry.dataSize;
        if (!fitsInPackage(entry, package.size)) {
            ++failures;  // no chaining: the next entry starts where this one would have
            continue;
        }
        uint8_t* bytes = package.data + entry.dataOffset;
        bool intact = decodeEntry(bytes, entry.dataSize, entry.contentDigest, &chain);
        if (!intact || !writeEntryFile(context->installFolder, entry, bytes)) ++failures;
    }
    platform::releasePackage(&package);

    if (failures > 0) return -(100 + failures);
    return lastEntrySize != 0 ? 0 : -1;
}
