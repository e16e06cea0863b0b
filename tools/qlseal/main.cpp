// qlseal [--check] PROGRAM: completes the linked setup program in place. It points the
// header's load configuration entry at the record's load configuration, notes in the record
// where the stamp lies, stamps the program's digest there (install/program_seal.h,
// install/program_digest.h) and updates the image checksum. Run after linking and before any
// signature: a signature leaves the digest as it is. Running it again changes nothing.
// --check changes nothing: exit code 0 when the stamp is the program's digest, as an install
// will find it, else 1.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "install/program_digest.h"
#include "install/program_seal.h"

namespace {

uint32_t read32(const std::string& file, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(file[at + i]);
    return value;
}
void write32(std::string& file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = char(value >> (8 * i));
}

int fail(const char* program, const char* why) {
    fprintf(stderr, "qlseal: %s: %s\n", program, why);
    return 1;
}

// The image address of a file offset, from the section that holds it; 0 when none does.
uint32_t addressOf(const std::string& file, size_t offset) {
    size_t pe = read32(file, 0x3C), optional = pe + 24;
    size_t sections = uint8_t(file[pe + 6]) | uint8_t(file[pe + 7]) << 8;
    size_t table = optional + (uint8_t(file[pe + 20]) | uint8_t(file[pe + 21]) << 8);
    for (size_t i = 0; i < sections; ++i) {
        size_t header = table + 40 * i;
        uint32_t address = read32(file, header + 12), raw = read32(file, header + 20);
        if (offset >= raw && offset < raw + read32(file, header + 16))
            return uint32_t(address + (offset - raw));
    }
    return 0;
}

// The image checksum as the linker computes it: the 16-bit words summed with their carries,
// the checksum field counted as zero, plus the file's length.
uint32_t imageChecksum(const std::string& file, size_t field) {
    uint64_t sum = 0;
    for (size_t at = 0; at < file.size(); at += 2) {
        if (at >= field && at < field + 4) continue;
        sum += uint8_t(file[at]) | (at + 1 < file.size() ? uint8_t(file[at + 1]) << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return uint32_t(sum + file.size());
}

}  // namespace

int main(int argc, char** argv) {
    bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) return fprintf(stderr, "usage: qlseal [--check] PROGRAM\n"), 2;
    const char* program = argv[argc - 1];
    std::ifstream in(program, std::ios::binary);
    std::string file{std::istreambuf_iterator<char>(in), {}};
    const std::string mark(reinterpret_cast<const char*>(SEAL_MARK), sizeof SEAL_MARK);
    size_t seal = file.find(mark);
    if (!in || seal == std::string::npos || file.find(mark, seal + 1) != std::string::npos)
        return fail(program, "not a program with one seal record");
    size_t stamp = seal + SEAL_STAMP_AT, config = seal + SEAL_LOAD_CONFIG_AT;
    uint8_t digest[SHA256_SIZE];
    auto digestOf = [&] {
        return programDigest(reinterpret_cast<const uint8_t*>(file.data()), file.size(), stamp,
                             digest);
    };
    if (check) {  // as an install proves its own file, a signed one for instance
        bool proven = read32(file, seal + SEAL_STAMP_OFFSET_AT) == stamp && digestOf() &&
                      file.compare(stamp, SHA256_SIZE, reinterpret_cast<char*>(digest),
                                   SHA256_SIZE) == 0;
        return proven ? 0 : fail(program, "its stamp is not its digest");
    }
    // A signature pads the file to a multiple of 8 bytes first, into the digested bytes.
    if (file.size() % 8) return fail(program, "its size is not a multiple of 8 bytes");
    std::fill(file.begin() + stamp, file.begin() + stamp + SHA256_SIZE, 0);
    write32(file, seal + SEAL_STAMP_OFFSET_AT, uint32_t(stamp));
    uint32_t configAddress = digestOf() ? addressOf(file, config) : 0;
    if (!configAddress) return fail(program, "not a program image that can be stamped");
    // Before the digest, which covers the header: the load configuration's directory entry,
    // the eleventh, after the optional header's fixed part (96 bytes in PE32, 112 in PE32+).
    size_t optional = read32(file, 0x3C) + 24;
    size_t entry = optional + (file[optional + 1] == 2 ? 112 : 96) + 10 * 8;
    write32(file, entry, configAddress);
    write32(file, entry + 4, read32(file, config));  // the configuration's own size
    digestOf();
    std::copy(digest, digest + SHA256_SIZE, file.begin() + stamp);
    write32(file, optional + 64, imageChecksum(file, optional + 64));  // left out of the digest
    std::ofstream out(program, std::ios::binary | std::ios::in | std::ios::out);
    if (!out.write(file.data(), std::streamsize(file.size())) || !out.flush())
        return fail(program, "cannot write it back");
    return 0;
}
