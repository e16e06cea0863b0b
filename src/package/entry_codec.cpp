#include "package/entry_codec.h"

#include <cstring>

#include "package/keystream.h"
#include "package/md5.h"
#include "package/md5_steps.h"

void startChain(PackageChain* chain) {
    chain->keyState = PACKAGE_INITIAL_KEY_STATE;
    memset(chain->digest, 0, sizeof chain->digest);
}

namespace {

// Hashes the stored block, descrambling it into plainBlock as it goes, together with the
// previous plain block. One keystream byte rides along with each of the 64 MD5 steps, so
// the keystream's chain and the two digests' chains run side by side in one instruction
// stream. The stored words are loaded before the first plain word is stored, so the two
// blocks may be the same.
//
// Every load of a plain word must take its data from exactly one store: a load that spans
// several narrower stores still in flight cannot be forwarded and waits until they have
// retired, which, at the top of each block, ties the three chains back into one. So the
// plain bytes are gathered into words in a register and stored whole, four steps at a time,
// and the next block reads them one word at a time where it uses them (BlockWords), never
// as a copied block, which the compiler turns into 16-byte loads.
//
// blockDigest[s % 16] is the chaining digest's byte for the s-th byte of every block, so
// that each step reads it at a fixed place.
void decodeBlock(uint32_t stored[4], uint32_t plain[4], const uint8_t* block, uint8_t* plainBlock,
                 const uint8_t* previousBlock, Keystream* stream, const uint8_t blockDigest[16]) {
    using namespace md5_steps;
    uint32_t x0[16];
    loadBlock(x0, block);
    BlockWords x1{previousBlock};
    uint32_t a0 = stored[0], b0 = stored[1], c0 = stored[2], d0 = stored[3];
    uint32_t a1 = plain[0], b1 = plain[1], c1 = plain[2], d1 = plain[3];
    uint32_t keyX = stream->x, keyN = stream->remaining, keyWord = 0, keyByte;
    uint32_t step = 0;  // a constant in each unrolled step
#define DECODE_STEP(f, a, b, c, d, i, k, s)                                            \
    MD5_STEP_TWO(f, a, b, c, d, i, k, s)                                               \
    keyByte = nextKeyByte(&keyX, keyN - step, blockDigest[step % 16]);                 \
    keyWord = step % 4 == 0 ? keyByte : keyWord | keyByte << (8 * (step % 4));         \
    if (step % 4 == 3) storeBlockWord(plainBlock, step / 4, x0[step / 4] ^ keyWord);  \
    ++step;
    MD5_STEPS(DECODE_STEP)
#undef DECODE_STEP
    stream->x = keyX;
    stream->remaining = keyN - MD5_BLOCK_SIZE;
    stored[0] += a0;
    stored[1] += b0;
    stored[2] += c0;
    stored[3] += d0;
    plain[0] += a1;
    plain[1] += b1;
    plain[2] += c1;
    plain[3] += d1;
}

void chainPast(PackageChain* chain, const uint8_t storedDigest[16]) {
    chain->keyState = nextKeyState(chain->keyState, storedDigest);
    memcpy(chain->digest, storedDigest, 16);
}
}  // namespace

bool decodeEntryInto(const uint8_t* bytes, uint8_t* plainBytes, uint32_t size,
                     const uint8_t expectedDigest[16], PackageChain* chain) {
    // Each byte is hashed as stored, descrambled, then hashed as plain; done block by block
    // with the plain digest one block behind (see decodeBlock). The first block has no
    // plain block before it: its plain lane hashes zeros into a state that is dropped.
    static const uint8_t NO_BLOCK[MD5_BLOCK_SIZE] = {};
    Keystream stream;
    keystreamStart(&stream, chain->keyState, chain->digest, size);
    // Every block starts at a multiple of 64 bytes into the entry, where the keystream's n
    // is the size less that multiple: n mod 16, and so the digest byte, runs the same way
    // through every block.
    uint8_t blockDigest[16];
    for (uint32_t s = 0; s < 16; ++s) blockDigest[s] = chain->digest[(size - s) % 16];
    uint32_t stored[4], plain[4], dropped[4] = {};
    md5InitialState(stored);
    md5InitialState(plain);
    uint32_t blocks = size / MD5_BLOCK_SIZE;
    for (uint32_t i = 0; i < blocks; ++i) {
        size_t at = size_t(i) * MD5_BLOCK_SIZE;
        uint8_t* out = plainBytes + at;
        if (i == 0)
            decodeBlock(stored, dropped, bytes + at, out, NO_BLOCK, &stream, blockDigest);
        else
            decodeBlock(stored, plain, bytes + at, out, out - MD5_BLOCK_SIZE, &stream, blockDigest);
    }
    if (blocks > 0) md5Blocks(plain, plainBytes + size_t(blocks - 1) * MD5_BLOCK_SIZE, 1);
    size_t tailAt = size_t(blocks) * MD5_BLOCK_SIZE;
    uint8_t* tail = plainBytes + tailAt;
    uint32_t tailSize = size % MD5_BLOCK_SIZE;
    uint8_t storedDigest[16], plainDigest[16];
    md5FinishTail(stored, bytes + tailAt, tailSize, size, storedDigest);
    if (tailSize > 0) memmove(tail, bytes + tailAt, tailSize);
    keystreamApply(&stream, tail, tailSize);
    md5FinishTail(plain, tail, tailSize, size, plainDigest);
    chainPast(chain, storedDigest);
    return memcmp(plainDigest, expectedDigest, 16) == 0;
}

void skipEntry(const uint8_t* bytes, uint32_t size, PackageChain* chain) {
    uint8_t storedDigest[16];
    md5(bytes, size, storedDigest);
    chainPast(chain, storedDigest);
}

void encodeEntry(uint8_t* bytes, uint32_t size, uint8_t contentDigest[16], PackageChain* chain) {
    md5(bytes, size, contentDigest);
    applyKeystream(bytes, size, chain->keyState, chain->digest);
    uint8_t storedDigest[16];
    md5(bytes, size, storedDigest);
    chainPast(chain, storedDigest);
}
