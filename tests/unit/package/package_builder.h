// Packages for the extraction tests, built with the same entry codec as the package tool,
// with control over what the tool would never write: entries left out of the chain, odd
// offsets and sizes, unsafe names.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "package/entry_codec.h"
#include "package/package_entry.h"

struct BuiltPackage {
    std::vector<uint8_t> bytes;
    std::vector<std::string> contents;  // plain contents, by entry

    PackageEntry& entry(int index) { return reinterpret_cast<PackageEntry*>(bytes.data())[index]; }
    // Names are not part of the chain, so they can be changed after building. The raw form
    // fills all 128 bytes, leaving no terminator.
    void setName(int index, const std::string& name) {
        memset(entry(index).name, 0, sizeof entry(index).name);
        memcpy(entry(index).name, name.data(), std::min(name.size(), sizeof entry(index).name));
    }
};

inline std::string sampleContent(int index, size_t size) {
    std::string text(size, '\0');
    for (size_t i = 0; i < size; ++i) text[i] = char(index * 31 + i * 7 + (i >> 6));
    return text;
}

// Entries back to back from the directory's end with the shipped names; sizes chosen so
// that most entries span several MD5 blocks and end inside one.
inline BuiltPackage buildPackage(std::vector<size_t> sizes = {}, int leaveOutOfChain = -1) {
    BuiltPackage package;
    package.bytes.resize(PACKAGE_DIRECTORY_SIZE);
    PackageChain chain;
    startChain(&chain);
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        size_t size = i < int(sizes.size()) ? sizes[i] : size_t(100 + 37 * i);
        const std::string& content = package.contents.emplace_back(sampleContent(i, size));
        PackageEntry entry = {{}, uint32_t(package.bytes.size()), uint32_t(size), {}, {}};
        strcpy(entry.name, PACKAGE_FILE_NAMES[i]);
        package.bytes.insert(package.bytes.end(), content.begin(), content.end());
        // Left out of the chain: the digest is filled, the chain stays where it was.
        PackageChain scratch = chain;
        encodeEntry(package.bytes.data() + entry.dataOffset, entry.dataSize, entry.contentDigest,
                    i == leaveOutOfChain ? &scratch : &chain);
        memcpy(package.bytes.data() + i * PACKAGE_ENTRY_SIZE, &entry, sizeof entry);
    }
    return package;
}
