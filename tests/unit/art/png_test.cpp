// The PNG encoder, checked chunk by chunk with an independent bitwise CRC and by inflating
// its stored deflate blocks by hand.
#include <gtest/gtest.h>
#include <string>
#include "artwork.h"
#include "png.h"

namespace {

uint32_t be32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

uint32_t bitwiseCrc(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

struct Chunk {
    std::string type;
    Bytes body;
};

// Splits a PNG into chunks, failing the test on a bad signature or CRC.
std::vector<Chunk> chunksOf(const Bytes& png) {
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_TRUE(png.size() >= 8 && std::equal(signature, signature + 8, png.begin()));
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = be32(png, at);
        EXPECT_LE(at + 12 + length, png.size());
        if (at + 12 + length > png.size()) break;
        EXPECT_EQ(be32(png, at + 8 + length), bitwiseCrc(&png[at + 4], 4 + length)) << "chunk at " << at;
        chunks.push_back({std::string(png.begin() + long(at) + 4, png.begin() + long(at) + 8),
                          Bytes(png.begin() + long(at) + 8, png.begin() + long(at + 8 + length))});
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

// Inflates a zlib stream made of stored blocks; anything else fails the test.
Bytes inflateStored(const Bytes& z) {
    Bytes out;
    EXPECT_GE(z.size(), 6u);
    EXPECT_EQ(z[0] & 0x0F, 8);                   // deflate
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);     // header check bits
    EXPECT_EQ(z[1] & 0x20, 0);                   // no preset dictionary
    size_t at = 2;
    bool last = false;
    while (!last && at + 5 <= z.size()) {
        last = z[at] & 1;
        EXPECT_EQ((z[at] >> 1) & 3, 0) << "not a stored block";
        uint32_t length = z[at + 1] | z[at + 2] << 8, check = z[at + 3] | z[at + 4] << 8;
        EXPECT_EQ(length ^ 0xFFFF, check);
        at += 5;
        if (at + length > z.size()) break;
        out.insert(out.end(), z.begin() + long(at), z.begin() + long(at + length));
        at += length;
    }
    EXPECT_TRUE(last);
    EXPECT_EQ(at + 4, z.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : out) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    if (at + 4 <= z.size()) {
        EXPECT_EQ(be32(z, at), b << 16 | a) << "Adler-32";
    }
    return out;
}

}  // namespace

TEST(PngChecksums, KnownVectors) {
    const std::string text = "123456789";
    EXPECT_EQ(crc32(reinterpret_cast<const uint8_t*>(text.data()), text.size()), 0xCBF43926u);
    const std::string wiki = "Wikipedia";
    EXPECT_EQ(adler32(reinterpret_cast<const uint8_t*>(wiki.data()), wiki.size()), 0x11E60398u);
    EXPECT_EQ(adler32(nullptr, 0), 1u);
}

TEST(PngChecksums, Crc32ContinuesAcrossPieces) {
    const std::string text = "IHDRsome chunk body";
    const uint8_t* data = reinterpret_cast<const uint8_t*>(text.data());
    EXPECT_EQ(crc32(data + 4, text.size() - 4, crc32(data, 4)), crc32(data, text.size()));
}

TEST(ZlibStored, SplitsAtTheStoredBlockLimitAndRoundTrips) {
    for (size_t size : {size_t(0), size_t(1), size_t(65535), size_t(65536), size_t(140000)}) {
        Bytes data(size);
        for (size_t i = 0; i < size; ++i) data[i] = uint8_t(i * 7 + i / 251);
        Bytes stream = zlibStored(data);
        EXPECT_EQ(inflateStored(stream), data) << size;
        size_t blocks = size == 0 ? 1 : (size + 65534) / 65535;
        EXPECT_EQ(stream.size(), 2 + blocks * 5 + size + 4) << size;
    }
}

TEST(PngEncoder, LogoIsA72By72RgbaImageWithValidChunks) {
    Image logo = drawLogo(LogoStyle::AppIcon, 72);
    std::vector<Chunk> chunks = chunksOf(encodePng(logo));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_TRUE(chunks[2].body.empty());

    const Bytes& header = chunks[0].body;
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(be32(header, 0), 72u);
    EXPECT_EQ(be32(header, 4), 72u);
    EXPECT_EQ(header[8], 8);   // bits per channel
    EXPECT_EQ(header[9], 6);   // RGBA
    EXPECT_EQ(header[10], 0);
    EXPECT_EQ(header[11], 0);
    EXPECT_EQ(header[12], 0);  // not interlaced

    Bytes raw = inflateStored(chunks[1].body);
    ASSERT_EQ(raw.size(), 72u * (1 + 72 * 4));
    for (int y = 0; y < 72; ++y) {
        const uint8_t* row = &raw[size_t(y) * (1 + 72 * 4)];
        ASSERT_EQ(row[0], 0) << "filter of row " << y;
        for (int x = 0; x < 72; ++x) {
            const Rgba8& p = logo.at(x, y);
            ASSERT_EQ(Bytes(row + 1 + x * 4, row + 5 + x * 4), (Bytes{p.r, p.g, p.b, p.a})) << x << "," << y;
        }
    }
}

TEST(PngEncoder, OddSizesKeepRowOrderAndLength) {
    Image image(3, 2);
    image.at(2, 1) = {1, 2, 3, 4};
    Bytes raw = inflateStored(chunksOf(encodePng(image))[1].body);
    ASSERT_EQ(raw.size(), 2u * (1 + 3 * 4));
    EXPECT_EQ(Bytes(raw.end() - 4, raw.end()), (Bytes{1, 2, 3, 4}));
}
