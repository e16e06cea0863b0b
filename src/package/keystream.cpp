#include "package/keystream.h"

#include <cstring>

void keystreamStart(Keystream* stream, uint32_t keyState, const uint8_t digest[16],
                    uint32_t length) {
    stream->x = keyState;
    stream->remaining = length;
    memcpy(stream->digest, digest, 16);
}

void keystreamApply(Keystream* stream, uint8_t* bytes, size_t count) {
    uint32_t x = stream->x;
    uint32_t n = stream->remaining;
    for (size_t j = 0; j < count; ++j, --n) bytes[j] ^= nextKeyByte(&x, n, stream->digest[n & 15]);
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
