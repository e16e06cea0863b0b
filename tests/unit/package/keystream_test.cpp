#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "package/entry_codec.h"
#include "package/keystream.h"
#include "package/md5.h"

namespace {
const uint8_t RAMP_DIGEST[16] = {0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70,
                                 0x80, 0x90, 0xa0, 0xb0, 0xc0, 0xd0, 0xe0, 0xf0};
}  // namespace

TEST(Keystream, VectorsWorkedOutByHandAndFromAnIndependentImplementation) {
    // S = 0xffffffff, L = 3. n = 3: x + n wraps to 2, t = 4, k = D[3] + 0 + 4 = 0x34, x = 0.
    // n = 2: t = 4, k = D[2] + 4 = 0x24. n = 1: t = 1, k = D[1] + 1 = 0x11.
    uint8_t bytes[3] = {0, 0, 0};
    applyKeystream(bytes, 3, 0xffffffff, RAMP_DIGEST);
    EXPECT_EQ(0, memcmp(bytes, "\x34\x24\x11", 3));
    // With S = 0xb503 the first square, 0xb50b^2 = 0x80088e79, has bit 31 set; a logical
    // shift would give 0x56,0x34,... from the fifth byte on instead of the stream below.
    uint8_t shifted[8] = {};
    applyKeystream(shifted, 8, 0xb503, RAMP_DIGEST);
    EXPECT_EQ(0, memcmp(shifted, "\x87\xcf\x7b\x01\x56\x34\xc4\x9c", 8));
    uint8_t pieces[8] = {};  // the same stream applied in parts
    Keystream stream;
    keystreamStart(&stream, 0xb503, RAMP_DIGEST, 8);
    for (size_t at : {0, 3}) keystreamApply(&stream, pieces + at, at ? 5 : 3);
    EXPECT_EQ(0, memcmp(pieces, shifted, 8));
    uint8_t first[16] = {};  // the package's first key state, with the first (zero) digest
    const uint8_t zeroDigest[16] = {};
    applyKeystream(first, 16, PACKAGE_INITIAL_KEY_STATE, zeroDigest);
    EXPECT_EQ(
        0, memcmp(first, "\x43\xd4\x6e\x7b\x34\xf8\x05\xa6\x15\x64\x62\x48\x82\x98\x7a\xe5", 16));
}

TEST(Keystream, NextKeyStateSquaresShiftsAndTakesTheDigestByte) {
    const uint8_t digest[16] = {0x90, 0x01, 0x50};
    // 0x5c2d71b3^2 mod 2^32 = 0xd36d8329; << 8 keeps 0x6d832900; low byte from the digest.
    EXPECT_EQ(nextKeyState(PACKAGE_INITIAL_KEY_STATE, digest), 0x6d832990u);
}

TEST(EntryCodec, DecodeUndoesEncodeAndChainsFromTheStoredBytesForEveryTailLength) {
    // The decoder works in 64-byte blocks with the stored digest one block ahead; every
    // size around the block edges must give the writer's bytes and chain. Each byte of the
    // chaining digest differs, so a keystream byte that takes the wrong one shows.
    for (uint32_t size = 0; size <= 200; ++size) {
        std::vector<uint8_t> plain(size);
        for (uint32_t i = 0; i < size; ++i) plain[i] = uint8_t(size + i * 13 + (i >> 5));
        PackageChain writer = {PACKAGE_INITIAL_KEY_STATE ^ size, {}}, reader;
        for (int i = 0; i < 16; ++i) writer.digest[i] = uint8_t(size + 17 * i);
        reader = writer;
        std::vector<uint8_t> bytes = plain;
        uint8_t contentDigest[16], storedDigest[16];
        encodeEntry(bytes.data(), size, contentDigest, &writer);
        md5(bytes.data(), size, storedDigest);
        ASSERT_TRUE(decodeEntry(bytes.data(), size, contentDigest, &reader)) << size;
        EXPECT_EQ(bytes, plain) << size;
        EXPECT_EQ(reader.keyState, nextKeyState(PACKAGE_INITIAL_KEY_STATE ^ size, storedDigest))
            << size;
        EXPECT_EQ(0, memcmp(reader.digest, storedDigest, 16)) << size;
    }
}
