// MD5 message digest (RFC 1321). The package stores one per file and chains its keystream
// through them, so extraction hashes every byte twice; the block routines are exposed so
// that the extraction can interleave hashing with descrambling.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t MD5_BLOCK_SIZE = 64;

// One-shot digest.
void md5(const void* bytes, size_t size, uint8_t digest[16]);

// Block level: the state starts as md5InitialState leaves it.
void md5InitialState(uint32_t state[4]);
void md5Blocks(uint32_t state[4], const uint8_t* blocks, size_t count);
// Pads the last tailSize (< 64) bytes of a message of totalSize bytes and writes the digest.
void md5FinishTail(uint32_t state[4], const uint8_t* tail, size_t tailSize, uint64_t totalSize,
                   uint8_t digest[16]);
