// One package entry's way through the keystream chain, shared by the extraction, the
// package tool and the tests: the reader descrambles and verifies, the writer digests and
// scrambles, and both chain from the stored (scrambled) bytes.
#pragma once
#include <cstdint>

struct PackageChain {
    uint32_t keyState;
    uint8_t digest[16];  // chaining digest: MD5 of the previous entry's stored bytes
};

// The state before the first entry.
void startChain(PackageChain* chain);

// Descrambles size stored bytes into plainBytes (which may be bytes itself) and chains past
// them. True when the MD5 of the descrambled bytes equals expectedDigest; the chain moves on
// either way.
bool decodeEntryInto(const uint8_t* bytes, uint8_t* plainBytes, uint32_t size,
                     const uint8_t expectedDigest[16], PackageChain* chain);
inline bool decodeEntry(uint8_t* bytes, uint32_t size, const uint8_t expectedDigest[16],
                        PackageChain* chain) {
    return decodeEntryInto(bytes, bytes, size, expectedDigest, chain);
}
// Chains past an entry that is not wanted, without descrambling it.
void skipEntry(const uint8_t* bytes, uint32_t size, PackageChain* chain);

// Writer side: stores the MD5 of the plain bytes in contentDigest, scrambles them in place
// and chains past the scrambled result.
void encodeEntry(uint8_t* bytes, uint32_t size, uint8_t contentDigest[16], PackageChain* chain);
