#include "package/keystream.h"

#include <cstring>

namespace {
// Bits 8-31 with the sign copied into the top byte. Converting to int32_t wraps and >> on a
// negative value shifts arithmetically, both defined since C++20.
inline uint32_t signedShiftRight8(uint32_t t) { return uint32_t(int32_t(t) >> 8); }
}  // namespace

void keystreamStart(Keystream* stream, uint32_t keyState, const uint8_t digest[16],
                    uint32_t length) {
    stream->x = keyState;
    stream->remaining = length;
    memcpy(stream->digest, digest, 16);
}

void keystreamApply(Keystream* stream, uint8_t* bytes, size_t count) {
    // The chain through x (add, square, shift) is the whole cost; the digest byte and the
    // XOR hang off it.
    uint32_t x = stream->x;
    uint32_t n = stream->remaining;
    const uint8_t* digest = stream->digest;
    for (size_t j = 0; j < count; ++j, --n) {
        uint32_t y = x + n;
        uint32_t t = y * y;
        bytes[j] ^= uint8_t(digest[n & 15] + (t >> 8) + t);
        x = signedShiftRight8(t);
    }
    stream->x = x;
    stream->remaining = n;
}

void applyKeystream(uint8_t* bytes, uint32_t length, uint32_t keyState, const uint8_t digest[16]) {
    Keystream stream;
    keystreamStart(&stream, keyState, digest, length);
    keystreamApply(&stream, bytes, length);
}

uint32_t nextKeyState(uint32_t keyState, const uint8_t newDigest[16]) {
    return ((keyState * keyState) << 8) | newDigest[0];
}
