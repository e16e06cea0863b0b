// The artwork generator. The encoders' own arithmetic: what ImageMagick cannot tell when
// e2e_helpers.sh decodes the built images (block splits, row padding and order, palette and
// mask bits); a wrong CRC or Adler sum would make it refuse them. Then the skin's label band,
// writing only changed files, and the built-in font's layout.
#include <gtest/gtest.h>
#include <cstdio>
#include <numeric>
#include <string>
#include "artwork.h"
#include "bmp.h"
#include "font.h"
#include "ico.h"
#include "output.h"
#include "png.h"

namespace {
uint32_t be32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
uint32_t le16(const Bytes& b, size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; }
}  // namespace

TEST(ZlibStored, SplitsIntoBlocksOfAtMost65535Bytes) {
    Bytes data(140000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 7 + i / 251);
    Bytes z = zlibStored(data);
    ASSERT_EQ(z.size(), 2 + 3 * 5 + data.size() + 4);
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);
    // The first block: not the last, 65535 bytes (LEN, then NLEN, its complement).
    EXPECT_EQ(Bytes(z.begin() + 2, z.begin() + 7), (Bytes{0, 0xFF, 0xFF, 0, 0}));
    size_t third = 2 + 2 * (5 + 65535);
    EXPECT_EQ(z[third], 1);
    EXPECT_EQ(le16(z, third + 1), 140000u - 2 * 65535);
    EXPECT_EQ(Bytes(z.begin() + long(third) + 5, z.end() - 4),
              Bytes(data.begin() + 2 * 65535, data.end()));
    EXPECT_EQ(be32(z, z.size() - 4), 0xBDBC6978u);  // the data's Adler-32, as zlib computes it
}

TEST(PngEncoder, ChunksAndRowsOfASmallImage) {
    Image image(3, 2);
    image.at(2, 1) = {1, 2, 3, 4};
    Bytes png = encodePng(image);
    // The signature, then IHDR: 3 x 2, 8 bits per channel, RGBA, deflate, no filter, no interlace.
    EXPECT_EQ(Bytes(png.begin(), png.begin() + 29),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                     0, 0, 0, 3, 0, 0, 0, 2, 8, 6, 0, 0, 0}));
    EXPECT_EQ(be32(png, 29), crc32(&png[12], 17));
    EXPECT_EQ(std::string(png.begin() + 37, png.begin() + 41), "IDAT");
    // Each row: filter byte 0, then RGBA; every pixel is zero but the last.
    Bytes rows(2 * (1 + 3 * 4) - 4);
    rows.insert(rows.end(), {1, 2, 3, 4});
    const long raw = 41 + 2 + 5;  // past the IDAT type, the zlib header and the block header
    EXPECT_EQ(Bytes(png.begin() + raw, png.begin() + raw + long(rows.size())), rows);
    EXPECT_EQ(Bytes(png.end() - 12, png.end()),
              (Bytes{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));
}

TEST(BmpEncoder, PadsRowsToFourBytesAndStoresTheBottomRowFirstInBgrOrder) {
    Image image(5, 2);  // 15 bytes a row, padded to 16
    image.at(4, 1) = {40, 50, 60, 255};  // the bottom row's last pixel
    image.at(0, 0) = {10, 20, 30, 255};
    Bytes bmp = encodeBmp24(image);
    ASSERT_EQ(bmp.size(), 54u + 16 * 2);
    EXPECT_EQ(le16(bmp, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(Bytes(bmp.begin() + 66, bmp.begin() + 70), (Bytes{60, 50, 40, 0}));  // and padding
    EXPECT_EQ(Bytes(bmp.begin() + 70, bmp.begin() + 73), (Bytes{30, 20, 10}));
}

TEST(IcoEncoder, ColourNibblesAndAndMaskFollowThePixels) {
    Image image(16, 16);                    // transparent except two pixels of the top row
    image.at(0, 0) = {255, 0, 0, 255};      // red: palette 9
    image.at(1, 0) = {255, 255, 255, 200};  // white: palette 15
    Bytes ico = encodeIco4({image});
    const size_t palette = 6 + 16 + 40, colours = palette + 64, mask = colours + 16 * 8;
    EXPECT_EQ(Bytes(ico.begin() + palette + 9 * 4, ico.begin() + palette + 10 * 4),
              (Bytes{0, 0, 255, 0}));
    EXPECT_EQ(ico[colours + 15 * 8], 0x9F);  // the top row is stored last
    // The two opaque pixels clear their bits; two bytes of row padding.
    EXPECT_EQ(Bytes(ico.begin() + mask + 15 * 4, ico.end()), (Bytes{0x3F, 0xFF, 0, 0}));
}

// White text with a black shadow is drawn over the bottom band of the skin: it has to stay
// dark and even there.
TEST(SkinArtwork, OsLabelAreaIsCalmAndDark) {
    Image skin = drawSkin();
    std::vector<double> luma;
    for (int y = 390; y < 424; ++y)
        for (int x = 20; x < 740; ++x) {
            const Rgba8& p = skin.at(x, y);
            luma.push_back((0.299 * p.r + 0.587 * p.g + 0.114 * p.b) / 255);
        }
    const double n = double(luma.size()), mean = std::accumulate(luma.begin(), luma.end(), 0.0) / n;
    EXPECT_LT(mean, 0.15);
    EXPECT_LT(*std::max_element(luma.begin(), luma.end()), 0.3);
    EXPECT_LT(std::inner_product(luma.begin(), luma.end(), luma.begin(), 0.0) / n - mean * mean,
              0.001);  // variance
}

TEST(WriteIfChanged, WritesNewAndChangedContentOnly) {
    std::string path = ::testing::TempDir() + "qlart_output_test.bin";
    std::remove(path.c_str());
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2, 3}), 1);
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2, 3}), 0);
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2}), 1);  // a shorter file is a change too
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2}), 0);
    std::remove(path.c_str());
    EXPECT_EQ(writeIfChanged("/nonexistent-folder/qlart/file.bin", {1}), -1);
}

TEST(BitmapFont, HasTheArtworkTextsAndSpacesTrimmedGlyphsByOneColumn) {
    for (const char* p = "QuillonOrvaloAudioRouter0123456789.,-:/!?"; *p; ++p)
        EXPECT_NE(glyphRows(*p), nullptr) << "missing glyph '" << *p << "'";
    EXPECT_EQ(layoutText("OO").columns, 11);   // 5 each, a gap between, none after
    EXPECT_EQ(layoutText("l").columns, 3);     // trimmed to its used columns
    EXPECT_EQ(layoutText("O O").columns, 14);  // blank of three columns, then a gap
}
