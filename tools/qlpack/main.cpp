// qlpack: writes the setup program's package from the payload folder, and lists, verifies
// or extracts the package of a package file or of a built setup program.
//   qlpack build <folder> <out>
//   qlpack list <package-or-setup.exe>
//   qlpack verify <package-or-setup.exe>
//   qlpack extract <package-or-setup.exe> <folder>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host_files.h"
#include "package/entry_codec.h"
#include "package/entry_name.h"
#include "package/package_entry.h"
#include "package/package_writer.h"
#include "pe_resource.h"

namespace {

int usage() {
    fprintf(stderr,
            "usage: qlpack build <folder> <out>\n"
            "       qlpack list <package-or-setup.exe>\n"
            "       qlpack verify <package-or-setup.exe>\n"
            "       qlpack extract <package-or-setup.exe> <folder>\n");
    return 2;
}

int build(const std::string& folder, const std::string& out) {
    FileBytes contents[PACKAGE_ENTRY_COUNT];
    PackageFile files[PACKAGE_ENTRY_COUNT];
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        const char* name = PACKAGE_FILE_NAMES[i];
        if (strlen(name) >= sizeof PackageEntry::name) {
            fprintf(stderr, "qlpack: entry name longer than 127 bytes: %s\n", name);
            return 1;
        }
        if (!readWholeFile(folder + "/" + name, &contents[i])) return 1;
        files[i] = {name, contents[i].data(), uint32_t(contents[i].size)};
    }
    std::vector<uint8_t> package;
    if (!writePackage(files, &package)) {
        fprintf(stderr, "qlpack: the files of %s do not fit one package\n", folder.c_str());
        return 1;
    }
    return replaceFile(out, package.data(), package.size()) ? 0 : 1;
}

// A package file or a setup program, read whole, and where the package lies in it. The
// package is used in place: copying it out would cost as much as reading it. The directory
// is copied: it may lie unaligned in a setup program, and entries may overlap it.
struct LoadedPackage {
    FileBytes file;
    size_t offset = 0;
    size_t size = 0;
    PackageEntry directory[PACKAGE_ENTRY_COUNT];

    uint8_t* bytes() { return file.data() + offset; }
};

// Reads the package with a sound directory: every name safe and every entry inside the
// package.
bool loadPackage(const std::string& path, LoadedPackage* package) {
    if (!readWholeFile(path, &package->file)) return false;
    package->offset = 0;
    package->size = package->file.size;
    if (looksLikePe(package->file.bytes())) {
        FileSpan span;
        const char* error;
        if (!findPackageResource(package->file.bytes(), &span, &error)) {
            fprintf(stderr, "qlpack: %s: %s\n", path.c_str(), error);
            return false;
        }
        package->offset = span.offset;
        package->size = span.size;
    }
    if (package->size <= PACKAGE_DIRECTORY_SIZE) {
        fprintf(stderr, "qlpack: %s: too short for a package (%zu bytes)\n", path.c_str(),
                package->size);
        return false;
    }
    memcpy(package->directory, package->bytes(), sizeof package->directory);
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        const PackageEntry& entry = package->directory[i];
        if (!isSafeEntryName(entry.name, sizeof entry.name)) {
            fprintf(stderr, "qlpack: %s: entry %d has an unsafe or unterminated name\n",
                    path.c_str(), i);
            return false;
        }
        if (uint64_t(entry.dataOffset) + entry.dataSize > package->size) {
            fprintf(stderr, "qlpack: %s: entry %d (%s) lies outside the package (truncated?)\n",
                    path.c_str(), i, entry.name);
            return false;
        }
    }
    return true;
}

int list(const std::string& path) {
    LoadedPackage package;
    if (!loadPackage(path, &package)) return 1;
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        const PackageEntry& entry = package.directory[i];
        printf("%2d  %-32s offset %10u  size %10u  md5 ", i, entry.name, entry.dataOffset,
               entry.dataSize);
        for (uint8_t byte : entry.contentDigest) printf("%02x", byte);
        printf("\n");
    }
    return 0;
}

// Descrambles the package in place along the chain; false with one line on stderr when
// any entry fails its digest.
bool descrambleAll(const std::string& path, LoadedPackage* package) {
    if (!loadPackage(path, package)) return false;
    PackageChain chain;
    startChain(&chain);
    int failures = 0;
    const char* firstFailure = nullptr;
    for (const PackageEntry& entry : package->directory) {
        if (decodeEntry(package->bytes() + entry.dataOffset, entry.dataSize, entry.contentDigest,
                        &chain))
            continue;
        if (failures++ == 0) firstFailure = entry.name;
    }
    if (failures == 0) return true;
    fprintf(stderr, "qlpack: %s: %d of %d entries fail their digest, the first is %s\n",
            path.c_str(), failures, PACKAGE_ENTRY_COUNT, firstFailure);
    return false;
}

int verify(const std::string& path) {
    LoadedPackage package;
    if (!descrambleAll(path, &package)) return 1;
    printf("%s: all %d entries verified\n", path.c_str(), PACKAGE_ENTRY_COUNT);
    return 0;
}

int extract(const std::string& path, const std::string& folder) {
    LoadedPackage package;
    if (!descrambleAll(path, &package)) return 1;
    for (const PackageEntry& entry : package.directory) {
        std::string target = folder + "/" + entry.name;
        for (char& c : target)
            if (c == '\\') c = '/';
        if (!makeFolders(target.substr(0, target.rfind('/'))) ||
            !replaceFile(target, package.bytes() + entry.dataOffset, entry.dataSize))
            return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string command = argv[1];
    if (command == "build" && argc == 4) return build(argv[2], argv[3]);
    if (command == "list" && argc == 3) return list(argv[2]);
    if (command == "verify" && argc == 3) return verify(argv[2]);
    if (command == "extract" && argc == 4) return extract(argv[2], argv[3]);
    return usage();
}
