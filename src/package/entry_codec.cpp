#include "package/entry_codec.h"

#include <cstring>

#include "package/keystream.h"
#include "package/md5.h"

void startChain(PackageChain* chain) {
    chain->keyState = PACKAGE_INITIAL_KEY_STATE;
    memset(chain->digest, 0, sizeof chain->digest);
}

namespace {
void chainPast(PackageChain* chain, const uint8_t storedDigest[16]) {
    chain->keyState = nextKeyState(chain->keyState, storedDigest);
    memcpy(chain->digest, storedDigest, 16);
}
}  // namespace

bool decodeEntry(uint8_t* bytes, uint32_t size, const uint8_t expectedDigest[16],
                 PackageChain* chain) {
    // Each byte is hashed as stored, descrambled, then hashed as plain. Doing the three in
    // step, block by block, lets the processor overlap the keystream's serial chain with the
    // two digests' chains, and touches the data while it is in the L1 cache.
    Keystream stream;
    keystreamStart(&stream, chain->keyState, chain->digest, size);
    uint32_t stored[4], plain[4];
    md5InitialState(stored);
    md5InitialState(plain);
    uint32_t blocks = size / MD5_BLOCK_SIZE;
    if (blocks > 0) {
        // The stored digest runs one block ahead so that each block pair hashes two
        // independent streams.
        md5Blocks(stored, bytes, 1);
        for (uint32_t i = 0; i + 1 < blocks; ++i) {
            uint8_t* block = bytes + size_t(i) * MD5_BLOCK_SIZE;
            keystreamApply(&stream, block, MD5_BLOCK_SIZE);
            md5BlockPair(stored, block + MD5_BLOCK_SIZE, plain, block);
        }
        uint8_t* last = bytes + size_t(blocks - 1) * MD5_BLOCK_SIZE;
        keystreamApply(&stream, last, MD5_BLOCK_SIZE);
        md5Blocks(plain, last, 1);
    }
    uint8_t* tail = bytes + size_t(blocks) * MD5_BLOCK_SIZE;
    uint32_t tailSize = size % MD5_BLOCK_SIZE;
    uint8_t storedDigest[16], plainDigest[16];
    md5FinishTail(stored, tail, tailSize, size, storedDigest);
    keystreamApply(&stream, tail, tailSize);
    md5FinishTail(plain, tail, tailSize, size, plainDigest);
    chainPast(chain, storedDigest);
    return memcmp(plainDigest, expectedDigest, 16) == 0;
}

void encodeEntry(uint8_t* bytes, uint32_t size, uint8_t contentDigest[16], PackageChain* chain) {
    md5(bytes, size, contentDigest);
    applyKeystream(bytes, size, chain->keyState, chain->digest);
    uint8_t storedDigest[16];
    md5(bytes, size, storedDigest);
    chainPast(chain, storedDigest);
}
