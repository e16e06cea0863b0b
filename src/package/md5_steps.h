// The MD5 compression steps as a table of macros, shared by the digest and by the package
// decoder, which splices its keystream into the same straight-line code.
#pragma once
#include <bit>
#include <cstdint>

namespace md5_steps {

// Everything here is forced inline: the steps are only fast as straight-line code, and the
// program is built for size.
#define MD5_INLINE [[gnu::always_inline]] inline

// The round functions in the forms with the shortest path through b, the value computed
// last: the terms that need only c and d can start early. G's two terms have no bits in
// common, so adding them equals or-ing them and each joins the sum on its own.
MD5_INLINE uint32_t roundF(uint32_t b, uint32_t c, uint32_t d) { return d ^ (b & (c ^ d)); }
MD5_INLINE uint32_t roundG(uint32_t b, uint32_t c, uint32_t d) { return (b & d) + (c & ~d); }
MD5_INLINE uint32_t roundH(uint32_t b, uint32_t c, uint32_t d) { return b ^ c ^ d; }
MD5_INLINE uint32_t roundI(uint32_t b, uint32_t c, uint32_t d) { return c ^ (b | ~d); }

// The 64 steps: round function, rotation of the four words, message word, sine constant,
// shift. Applied to one lane (variable suffix) by MD5_LANE_STEP.
#define MD5_STEPS(STEP)                                   \
    STEP(roundF, a, b, c, d, 0, 0xd76aa478, 7)            \
    STEP(roundF, d, a, b, c, 1, 0xe8c7b756, 12)           \
    STEP(roundF, c, d, a, b, 2, 0x242070db, 17)           \
    STEP(roundF, b, c, d, a, 3, 0xc1bdceee, 22)           \
    STEP(roundF, a, b, c, d, 4, 0xf57c0faf, 7)            \
    STEP(roundF, d, a, b, c, 5, 0x4787c62a, 12)           \
    STEP(roundF, c, d, a, b, 6, 0xa8304613, 17)           \
    STEP(roundF, b, c, d, a, 7, 0xfd469501, 22)           \
    STEP(roundF, a, b, c, d, 8, 0x698098d8, 7)            \
    STEP(roundF, d, a, b, c, 9, 0x8b44f7af, 12)           \
    STEP(roundF, c, d, a, b, 10, 0xffff5bb1, 17)          \
    STEP(roundF, b, c, d, a, 11, 0x895cd7be, 22)          \
    STEP(roundF, a, b, c, d, 12, 0x6b901122, 7)           \
    STEP(roundF, d, a, b, c, 13, 0xfd987193, 12)          \
    STEP(roundF, c, d, a, b, 14, 0xa679438e, 17)          \
    STEP(roundF, b, c, d, a, 15, 0x49b40821, 22)          \
    STEP(roundG, a, b, c, d, 1, 0xf61e2562, 5)            \
    STEP(roundG, d, a, b, c, 6, 0xc040b340, 9)            \
    STEP(roundG, c, d, a, b, 11, 0x265e5a51, 14)          \
    STEP(roundG, b, c, d, a, 0, 0xe9b6c7aa, 20)           \
    STEP(roundG, a, b, c, d, 5, 0xd62f105d, 5)            \
    STEP(roundG, d, a, b, c, 10, 0x02441453, 9)           \
    STEP(roundG, c, d, a, b, 15, 0xd8a1e681, 14)          \
    STEP(roundG, b, c, d, a, 4, 0xe7d3fbc8, 20)           \
    STEP(roundG, a, b, c, d, 9, 0x21e1cde6, 5)            \
    STEP(roundG, d, a, b, c, 14, 0xc33707d6, 9)           \
    STEP(roundG, c, d, a, b, 3, 0xf4d50d87, 14)           \
    STEP(roundG, b, c, d, a, 8, 0x455a14ed, 20)           \
    STEP(roundG, a, b, c, d, 13, 0xa9e3e905, 5)           \
    STEP(roundG, d, a, b, c, 2, 0xfcefa3f8, 9)            \
    STEP(roundG, c, d, a, b, 7, 0x676f02d9, 14)           \
    STEP(roundG, b, c, d, a, 12, 0x8d2a4c8a, 20)          \
    STEP(roundH, a, b, c, d, 5, 0xfffa3942, 4)            \
    STEP(roundH, d, a, b, c, 8, 0x8771f681, 11)           \
    STEP(roundH, c, d, a, b, 11, 0x6d9d6122, 16)          \
    STEP(roundH, b, c, d, a, 14, 0xfde5380c, 23)          \
    STEP(roundH, a, b, c, d, 1, 0xa4beea44, 4)            \
    STEP(roundH, d, a, b, c, 4, 0x4bdecfa9, 11)           \
    STEP(roundH, c, d, a, b, 7, 0xf6bb4b60, 16)           \
    STEP(roundH, b, c, d, a, 10, 0xbebfbc70, 23)          \
    STEP(roundH, a, b, c, d, 13, 0x289b7ec6, 4)           \
    STEP(roundH, d, a, b, c, 0, 0xeaa127fa, 11)           \
    STEP(roundH, c, d, a, b, 3, 0xd4ef3085, 16)           \
    STEP(roundH, b, c, d, a, 6, 0x04881d05, 23)           \
    STEP(roundH, a, b, c, d, 9, 0xd9d4d039, 4)            \
    STEP(roundH, d, a, b, c, 12, 0xe6db99e5, 11)          \
    STEP(roundH, c, d, a, b, 15, 0x1fa27cf8, 16)          \
    STEP(roundH, b, c, d, a, 2, 0xc4ac5665, 23)           \
    STEP(roundI, a, b, c, d, 0, 0xf4292244, 6)            \
    STEP(roundI, d, a, b, c, 7, 0x432aff97, 10)           \
    STEP(roundI, c, d, a, b, 14, 0xab9423a7, 15)          \
    STEP(roundI, b, c, d, a, 5, 0xfc93a039, 21)           \
    STEP(roundI, a, b, c, d, 12, 0x655b59c3, 6)           \
    STEP(roundI, d, a, b, c, 3, 0x8f0ccc92, 10)           \
    STEP(roundI, c, d, a, b, 10, 0xffeff47d, 15)          \
    STEP(roundI, b, c, d, a, 1, 0x85845dd1, 21)           \
    STEP(roundI, a, b, c, d, 8, 0x6fa87e4f, 6)            \
    STEP(roundI, d, a, b, c, 15, 0xfe2ce6e0, 10)          \
    STEP(roundI, c, d, a, b, 6, 0xa3014314, 15)           \
    STEP(roundI, b, c, d, a, 13, 0x4e0811a1, 21)          \
    STEP(roundI, a, b, c, d, 4, 0xf7537e82, 6)            \
    STEP(roundI, d, a, b, c, 11, 0xbd3af235, 10)          \
    STEP(roundI, c, d, a, b, 2, 0x2ad7d2bb, 15)           \
    STEP(roundI, b, c, d, a, 9, 0xeb86d391, 21)

// The constant and the message word do not depend on the previous step; adding them first
// keeps them off the chain.
#define MD5_LANE_STEP(f, a, b, c, d, i, k, s, L)            \
    a##L += uint32_t(k) + x##L[i];                      \
    a##L += f(b##L, c##L, d##L);                        \
    a##L = std::rotl(a##L, s) + b##L;

#define MD5_STEP_ONE(f, a, b, c, d, i, k, s) MD5_LANE_STEP(f, a, b, c, d, i, k, s, 0)
#define MD5_STEP_TWO(f, a, b, c, d, i, k, s) \
    MD5_LANE_STEP(f, a, b, c, d, i, k, s, 0) MD5_LANE_STEP(f, a, b, c, d, i, k, s, 1)

MD5_INLINE uint32_t littleEndian(uint32_t value) {
    if constexpr (std::endian::native == std::endian::big)
        value = (value >> 24) | ((value >> 8) & 0xff00) | ((value << 8) & 0xff0000) |
                (value << 24);
    return value;
}

// Message words of one block, little-endian.
MD5_INLINE void loadBlock(uint32_t x[16], const uint8_t* block) {
    for (int i = 0; i < 16; ++i) {
        uint32_t value;
        __builtin_memcpy(&value, block + 4 * i, 4);
        x[i] = littleEndian(value);
    }
}

// The message words of a block read where they are used, each as one 32-bit load. Copying a
// block into an array may become 16-byte loads, which cannot take their data from the
// 4-byte stores that wrote the block moments before.
struct BlockWords {
    const uint8_t* block;
    MD5_INLINE uint32_t operator[](int i) const {
        uint32_t value;
        __builtin_memcpy(&value, block + 4 * i, 4);
        return littleEndian(value);
    }
};

// Writes word i of a block, little-endian, as one store.
MD5_INLINE void storeBlockWord(uint8_t* block, uint32_t i, uint32_t word) {
    word = littleEndian(word);
    __builtin_memcpy(block + 4 * i, &word, 4);
}

}  // namespace md5_steps
