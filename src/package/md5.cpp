#include "package/md5.h"

#include <cstring>

#include "package/md5_steps.h"

using namespace md5_steps;

namespace {

inline void storeLe32(uint8_t* p, uint32_t value) {
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
    p[2] = uint8_t(value >> 16);
    p[3] = uint8_t(value >> 24);
}

}  // namespace

void md5InitialState(uint32_t state[4]) {
    state[0] = 0x67452301;
    state[1] = 0xefcdab89;
    state[2] = 0x98badcfe;
    state[3] = 0x10325476;
}

void md5Blocks(uint32_t state[4], const uint8_t* blocks, size_t count) {
    uint32_t a0 = state[0], b0 = state[1], c0 = state[2], d0 = state[3];
    for (; count > 0; --count, blocks += MD5_BLOCK_SIZE) {
        uint32_t x0[16];
        loadBlock(x0, blocks);
        uint32_t sa = a0, sb = b0, sc = c0, sd = d0;
        MD5_STEPS(MD5_STEP_ONE)
        a0 += sa;
        b0 += sb;
        c0 += sc;
        d0 += sd;
    }
    state[0] = a0;
    state[1] = b0;
    state[2] = c0;
    state[3] = d0;
}

void md5FinishTail(uint32_t state[4], const uint8_t* tail, size_t tailSize, uint64_t totalSize,
                   uint8_t digest[16]) {
    // One block when the 0x80 marker and the 8-byte bit count fit after the tail, else two.
    uint8_t last[2 * MD5_BLOCK_SIZE] = {};
    if (tailSize > 0) memcpy(last, tail, tailSize);
    last[tailSize] = 0x80;
    size_t blocks = tailSize < MD5_BLOCK_SIZE - 8 ? 1 : 2;
    uint64_t bits = totalSize * 8;
    for (int i = 0; i < 8; ++i) last[blocks * MD5_BLOCK_SIZE - 8 + i] = uint8_t(bits >> (8 * i));
    md5Blocks(state, last, blocks);
    for (int i = 0; i < 4; ++i) storeLe32(digest + 4 * i, state[i]);
}

void md5(const void* bytes, size_t size, uint8_t digest[16]) {
    uint32_t state[4];
    md5InitialState(state);
    const uint8_t* in = static_cast<const uint8_t*>(bytes);
    size_t whole = size / MD5_BLOCK_SIZE * MD5_BLOCK_SIZE;
    md5Blocks(state, in, whole / MD5_BLOCK_SIZE);
    md5FinishTail(state, in + whole, size - whole, size, digest);
}
