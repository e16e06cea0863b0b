#include "install/program_digest.h"

namespace {

uint32_t read16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t read32(const uint8_t* p) { return read16(p) | read16(p + 2) << 16; }

// The parts of the image that the digest leaves out or zeroes, in file order.
struct Hole {
    uint64_t offset, size;
    bool zeros;  // counted as that many zeros, else left out
};

// Where the headers put the checksum, the certificate table's directory entry and the end of
// the sections' data; false when the headers do not fit in the file.
bool locate(const uint8_t* file, uint64_t size, Hole* checksum, Hole* entry, uint64_t* dataEnd) {
    if (size < 0x40 || file[0] != 'M' || file[1] != 'Z') return false;
    uint64_t pe = read32(file + 0x3C), optional = pe + 24;
    if (optional + 2 > size || read32(file + pe) != 0x00004550) return false;  // "PE\0\0"
    uint32_t sections = read16(file + pe + 6), optionalSize = read16(file + pe + 20);
    uint32_t magic = read16(file + optional);
    uint64_t directories = optional + (magic == 0x20B ? 112 : 96);  // PE32+ or PE32
    if ((magic != 0x10B && magic != 0x20B) || directories + 5 * 8 > optional + optionalSize ||
        optional + optionalSize + sections * 40ull > size ||
        read32(file + directories - 4) < 5)  // NumberOfRvaAndSizes
        return false;
    *checksum = {optional + 64, 4, false};
    *entry = {directories + 4 * 8, 8, false};
    *dataEnd = optional + optionalSize + sections * 40ull;
    for (uint32_t i = 0; i < sections; ++i) {
        const uint8_t* header = file + optional + optionalSize + 40 * i;
        uint64_t end = uint64_t(read32(header + 20)) + read32(header + 16);
        if (end > *dataEnd) *dataEnd = end;
    }
    return true;
}

}  // namespace

bool programDigest(const uint8_t* file, uint64_t size, uint64_t stampOffset,
                   uint8_t digest[SHA256_SIZE]) {
    Hole checksum, entry;
    uint64_t dataEnd = 0;
    if (!locate(file, size, &checksum, &entry, &dataEnd)) return false;
    // The certificate table, if any, ends the file after all the sections' data; its entry
    // holds a file offset, not an image address, and a signature's own digest leaves out the
    // checksum, that entry and the table. A table said to lie anywhere else would leave part
    // of the program out. https://learn.microsoft.com/windows/win32/debug/pe-format
    // ("The Attribute Certificate Table (Image Only)")
    uint64_t table = read32(file + entry.offset), tableSize = read32(file + entry.offset + 4);
    uint64_t end = tableSize ? table : size;
    if (tableSize && (table < dataEnd || table + tableSize != size)) return false;
    if (stampOffset < entry.offset + entry.size || stampOffset + SHA256_SIZE > end) return false;

    static constexpr uint8_t ZEROS[SHA256_SIZE] = {};
    const Hole holes[] = {checksum, entry, {stampOffset, SHA256_SIZE, true}};
    Sha256 hash;
    sha256Start(&hash);
    uint64_t at = 0;
    for (const Hole& hole : holes) {
        sha256Add(&hash, file + at, size_t(hole.offset - at));
        if (hole.zeros) sha256Add(&hash, ZEROS, size_t(hole.size));
        at = hole.offset + hole.size;
    }
    sha256Add(&hash, file + at, size_t(end - at));
    sha256Finish(&hash, digest);
    return true;
}
