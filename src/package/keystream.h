// The package keystream: each entry's bytes are XOR-ed with a stream that depends on the
// key state, the chaining digest and the entry's length only, so one routine scrambles and
// descrambles. After each entry the chain moves on to the digest of its stored bytes.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t PACKAGE_INITIAL_KEY_STATE = 0x5C2D71B3;

// A position inside one entry's keystream, for callers that work through an entry in parts.
struct Keystream {
    uint32_t x;          // running state
    uint32_t remaining;  // bytes left in the entry; counts down to 1 for the last byte
    uint8_t digest[16];  // chaining digest the entry started with
};

// One byte of the stream: the key for the byte at count n (n = L - j), advancing x, with
// digestByte = D[n mod 16]. The chain through x (add, square, shift) is the whole cost; the
// rest hangs off it. Forced inline, since the program is built for size and a call per byte
// would dominate.
[[gnu::always_inline]] inline uint8_t nextKeyByte(uint32_t* x, uint32_t n, uint8_t digestByte) {
    uint32_t y = *x + n;
    uint32_t t = y * y;
    // Arithmetic shift: converting to int32_t wraps and >> on a negative value copies the
    // sign bit, both defined since C++20.
    *x = uint32_t(int32_t(t) >> 8);
    return uint8_t(digestByte + (t >> 8) + t);
}

void keystreamStart(Keystream* stream, uint32_t keyState, const uint8_t digest[16],
                    uint32_t length);
// XORs the next count bytes of the stream into bytes; count must not exceed remaining.
void keystreamApply(Keystream* stream, uint8_t* bytes, size_t count);

// Whole entry at once.
void applyKeystream(uint8_t* bytes, uint32_t length, uint32_t keyState, const uint8_t digest[16]);

// Key state for the next entry, from this entry's starting key state and the digest of its
// stored bytes (the next chaining digest).
uint32_t nextKeyState(uint32_t keyState, const uint8_t newDigest[16]);
