#include <gtest/gtest.h>

#include <string>

#include "package/md5.h"
#include "package/sha256.h"

namespace {

std::string hex(const uint8_t* digest, size_t size) {
    char out[2 * SHA256_SIZE + 1];
    for (size_t i = 0; i < size; ++i) snprintf(out + 2 * i, 3, "%02x", digest[i]);
    return out;
}

std::string md5Hex(const std::string& text) {
    uint8_t digest[16];
    md5(text.data(), text.size(), digest);
    return hex(digest, sizeof digest);
}

}  // namespace

TEST(Md5, MatchesReferenceDigestsAndPadsAtTheBlockEdges) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    // Every message word different: a step that takes the wrong word shows.
    EXPECT_EQ(md5Hex("The quick brown fox jumps over the lazy dog"),
              "9e107d9d372bb6826bd81d3542a419d6");
    // Padding at the block boundaries: 55 bytes still take the length in the same block, 56
    // need a second one.
    EXPECT_EQ(md5Hex(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(md5Hex(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
}

// The standard vectors (FIPS 180-2's); 55 bytes still take the length in
// their last block, 56 (the first vector) need another. The program digest adds its message
// in pieces.
TEST(Sha256, MatchesTheStandardVectors) {
    const std::pair<std::string, const char*> vectors[] = {
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
    };
    for (const auto& [text, expected] : vectors) {
        Sha256 hash;
        sha256Start(&hash);
        sha256Add(&hash, text.data(), text.size());
        uint8_t digest[SHA256_SIZE];
        sha256Finish(&hash, digest);
        EXPECT_EQ(hex(digest, sizeof digest), expected);
    }
}
