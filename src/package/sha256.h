// SHA-256 (FIPS 180-4), shared by the setup program and the build tool that stamps it: the
// stamp proves which program the install copies, so a digest whose collisions are practical
// (MD5) will not do there.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t SHA256_SIZE = 32;

// A digest computed piece by piece: start, add the message in any pieces, finish.
struct Sha256 {
    uint32_t state[8];
    uint8_t block[64];
    uint64_t length;  // bytes added so far
};

void sha256Start(Sha256* hash);
void sha256Add(Sha256* hash, const void* bytes, size_t size);
void sha256Finish(Sha256* hash, uint8_t digest[SHA256_SIZE]);
