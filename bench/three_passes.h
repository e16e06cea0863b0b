// The package decoder's work done as three passes one after the other over each entry:
// digest of the stored bytes, keystream, digest of the plain bytes. The fused decoder must
// beat it; the benchmarks run both side by side so that a regression of the fusion shows.
#pragma once
#include <cstring>

#include "package/entry_codec.h"
#include "package/keystream.h"
#include "package/md5.h"

inline bool decodeInThreePasses(uint8_t* bytes, uint32_t size, const uint8_t expectedDigest[16],
                                PackageChain* chain) {
    uint8_t storedDigest[16], plainDigest[16];
    md5(bytes, size, storedDigest);
    applyKeystream(bytes, size, chain->keyState, chain->digest);
    md5(bytes, size, plainDigest);
    chain->keyState = nextKeyState(chain->keyState, storedDigest);
    memcpy(chain->digest, storedDigest, 16);
    return memcmp(plainDigest, expectedDigest, 16) == 0;
}
