// The web page opener's self-inverse keystream and the two stored addresses.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/web_address.h"

namespace {

std::string unscrambled(const uint8_t* stored, uint32_t size) {
    EXPECT_EQ(memmem(stored, size, "quillon", 7), nullptr) << "stored in the clear";
    uint8_t buffer[512] = {};
    memcpy(buffer, stored, size);
    scrambleAddress(buffer, size, WEB_ADDRESS_SEED);
    EXPECT_EQ(buffer[size - 1], 0) << "terminator must be part of the stored bytes";
    return std::string(reinterpret_cast<char*>(buffer));
}

}  // namespace

TEST(WebAddress, StoredBytesUnscrambleToTheAddresses) {
    EXPECT_EQ(unscrambled(HOME_ADDRESS, HOME_ADDRESS_SIZE), "https://quillon.example/");
    EXPECT_EQ(unscrambled(AFTER_INSTALL_ADDRESS, AFTER_INSTALL_ADDRESS_SIZE),
              "https://quillon.example/orvalo/installed");
}

TEST(WebAddress, KeystreamIsItsOwnInverseAndMatchesSignedArithmetic) {
    for (uint32_t seed : {0u, WEB_ADDRESS_SEED, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        uint8_t text[64], mine[64], reference[64];
        for (int i = 0; i < 64; ++i) text[i] = reference[i] = mine[i] = uint8_t(i * 37 + 11);
        scrambleAddress(mine, 64, seed);
        // The keystream written plainly in signed arithmetic (C++20 defines the wrap and the
        // arithmetic shift), to hold the unsigned implementation to it.
        int32_t k = int32_t(seed);
        for (uint32_t p = 0; p < 64; ++p) {
            int32_t sum = int32_t(uint32_t(k) + (64 - p));
            k = int32_t(uint32_t(int64_t(sum) * sum)) >> 8;
            reference[p] ^= uint8_t(k);
        }
        EXPECT_EQ(memcmp(mine, reference, 64), 0) << "seed " << seed;
        scrambleAddress(mine, 64, seed);
        EXPECT_EQ(memcmp(mine, text, 64), 0) << "seed " << seed;
    }
}
