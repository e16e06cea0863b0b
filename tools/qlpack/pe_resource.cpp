#include "pe_resource.h"

#include <cstring>

namespace {

constexpr uint32_t RT_RCDATA_TYPE = 10;
constexpr uint32_t PACKAGE_RESOURCE_ID = 100;
constexpr uint32_t RESOURCE_DIRECTORY_INDEX = 2;
constexpr uint32_t SUBDIRECTORY_BIT = 0x80000000u;

// Bounds-checked little-endian reads: every offset in a PE file is untrusted.
struct Reader {
    std::span<const uint8_t> bytes;
    bool ok = true;

    uint32_t u32(uint64_t at) {
        if (at + 4 > bytes.size()) return fail();
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
    }
    uint32_t u16(uint64_t at) {
        if (at + 2 > bytes.size()) return fail();
        return bytes[at] | bytes[at + 1] << 8;
    }
    uint32_t fail() {
        ok = false;
        return 0;
    }
};

struct Sections {
    uint64_t table;
    uint32_t count;
};

// File offset of the byte at rva, with at least size bytes of file data behind it.
bool rvaToOffset(Reader& in, const Sections& sections, uint32_t rva, uint32_t size,
                 uint32_t* offset) {
    for (uint32_t i = 0; i < sections.count; ++i) {
        uint64_t header = sections.table + uint64_t(i) * 40;
        uint32_t address = in.u32(header + 12);
        uint32_t rawSize = in.u32(header + 16);
        uint32_t rawOffset = in.u32(header + 20);
        if (!in.ok) return false;
        if (rva < address || uint64_t(rva) + size > uint64_t(address) + rawSize) continue;
        uint64_t at = uint64_t(rawOffset) + (rva - address);
        if (at + size > in.bytes.size()) return false;
        *offset = uint32_t(at);
        return true;
    }
    return false;
}

// Looks up an id (or, with anyId, the first id entry) in the resource directory at
// directory; returns the entry's OffsetToData word, or 0 when missing.
uint32_t findResourceEntry(Reader& in, uint64_t base, uint64_t directory, uint32_t id,
                           bool anyId) {
    uint32_t named = in.u16(base + directory + 12);
    uint32_t ids = in.u16(base + directory + 14);
    for (uint32_t i = 0; i < ids && in.ok; ++i) {
        uint64_t entry = base + directory + 16 + uint64_t(named + i) * 8;
        uint32_t name = in.u32(entry);
        if (!(name & SUBDIRECTORY_BIT) && (anyId || name == id)) return in.u32(entry + 4);
    }
    return 0;
}

}  // namespace

bool looksLikePe(std::span<const uint8_t> file) {
    return file.size() >= 64 && file[0] == 'M' && file[1] == 'Z';
}

bool findPackageResource(std::span<const uint8_t> file, FileSpan* span, const char** error) {
    Reader in{file};
    uint32_t peHeader = in.u32(0x3c);
    if (!in.ok || in.u32(peHeader) != 0x00004550) {
        *error = "not a PE file (no PE signature)";
        return false;
    }
    uint64_t coff = uint64_t(peHeader) + 4;
    uint64_t optional = coff + 20;
    uint32_t magic = in.u16(optional);
    uint64_t directories = optional + (magic == 0x20b ? 112 : 96);
    uint32_t directoryCount = in.u32(optional + (magic == 0x20b ? 108 : 92));
    Sections sections{optional + in.u16(coff + 16), in.u16(coff + 2)};
    if (!in.ok || (magic != 0x10b && magic != 0x20b)) {
        *error = "malformed PE headers";
        return false;
    }
    uint32_t resourceRva = directoryCount > RESOURCE_DIRECTORY_INDEX
                               ? in.u32(directories + 8 * RESOURCE_DIRECTORY_INDEX)
                               : 0;
    uint32_t resourceBase;
    if (resourceRva == 0 || !rvaToOffset(in, sections, resourceRva, 16, &resourceBase)) {
        *error = "no resource directory in the file (not a setup program, or truncated)";
        return false;
    }

    // Three levels: type, id, language.
    uint32_t typeEntry = findResourceEntry(in, resourceBase, 0, RT_RCDATA_TYPE, false);
    uint32_t idEntry = (typeEntry & SUBDIRECTORY_BIT)
                           ? findResourceEntry(in, resourceBase, typeEntry & ~SUBDIRECTORY_BIT,
                                               PACKAGE_RESOURCE_ID, false)
                           : 0;
    uint32_t languageEntry = (idEntry & SUBDIRECTORY_BIT)
                                 ? findResourceEntry(in, resourceBase, idEntry & ~SUBDIRECTORY_BIT,
                                                     0, true)
                                 : 0;
    if (!in.ok || languageEntry == 0 || (languageEntry & SUBDIRECTORY_BIT)) {
        *error = "the program has no package resource (RT_RCDATA 100)";
        return false;
    }
    uint32_t dataRva = in.u32(uint64_t(resourceBase) + languageEntry);
    uint32_t dataSize = in.u32(uint64_t(resourceBase) + languageEntry + 4);
    if (!in.ok || !rvaToOffset(in, sections, dataRva, dataSize, &span->offset)) {
        *error = "the package resource lies outside the file";
        return false;
    }
    span->size = dataSize;
    return true;
}
