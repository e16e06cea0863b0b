// MD5 message digest (RFC 1321). The package stores one per file and chains its keystream
// through them, so extraction hashes every byte twice; the block routines are exposed so
// that the extraction can interleave hashing with descrambling.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t MD5_BLOCK_SIZE = 64;

struct Md5 {
    uint32_t state[4];
    uint64_t length;  // bytes fed so far
    uint8_t pending[MD5_BLOCK_SIZE];
};

void md5Start(Md5* md5);
void md5Update(Md5* md5, const void* bytes, size_t size);
void md5Finish(Md5* md5, uint8_t digest[16]);

// One-shot digest.
void md5(const void* bytes, size_t size, uint8_t digest[16]);

// Block level: state starts as md5Start leaves it.
void md5InitialState(uint32_t state[4]);
void md5Blocks(uint32_t state[4], const uint8_t* blocks, size_t count);
// Pads the last tailSize (< 64) bytes of a message of totalSize bytes and writes the digest.
void md5FinishTail(uint32_t state[4], const uint8_t* tail, size_t tailSize, uint64_t totalSize,
                   uint8_t digest[16]);
