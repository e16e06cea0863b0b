// The artwork encoders' own arithmetic: what ImageMagick cannot tell when e2e_helpers.sh
// decodes the built images (block splits, row padding and order, palette and mask bits); a
// wrong CRC or Adler sum would make it refuse them.
#include <gtest/gtest.h>
#include <string>
#include "artwork.h"
#include "bmp.h"
#include "ico.h"
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
    EXPECT_EQ(z[2], 0);  // first block, not the last
    EXPECT_EQ(le16(z, 3), 65535u);
    EXPECT_EQ(le16(z, 5), 0u);
    size_t third = 2 + 2 * (5 + 65535);
    EXPECT_EQ(z[third], 1);
    EXPECT_EQ(le16(z, third + 1), 140000u - 2 * 65535);
    EXPECT_EQ(Bytes(z.begin() + long(third) + 5, z.end() - 4),
              Bytes(data.begin() + 2 * 65535, data.end()));
    EXPECT_EQ(be32(z, z.size() - 4), adler32(data.data(), data.size()));
}

TEST(PngEncoder, ChunksAndRowsOfASmallImage) {
    Image image(3, 2);
    image.at(2, 1) = {1, 2, 3, 4};
    Bytes png = encodePng(image);
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(be32(png, 16), 3u);
    EXPECT_EQ(be32(png, 20), 2u);
    EXPECT_EQ(png[24], 8);  // bits per channel
    EXPECT_EQ(png[25], 6);  // RGBA
    EXPECT_EQ(be32(png, 29), crc32(&png[12], 17));
    EXPECT_EQ(std::string(png.begin() + 37, png.begin() + 41), "IDAT");
    const size_t raw = 41 + 2 + 5, rowSize = 1 + 3 * 4;
    EXPECT_EQ(be32(png, 33), 2 + 5 + 2 * rowSize + 4);
    EXPECT_EQ(png[raw], 0);  // filter byte of each row
    EXPECT_EQ(png[raw + rowSize], 0);
    EXPECT_EQ(
        Bytes(png.begin() + long(raw + 2 * rowSize - 4), png.begin() + long(raw + 2 * rowSize)),
        (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(Bytes(png.end() - 12, png.end()),
              (Bytes{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));
}

TEST(BmpEncoder, PadsRowsToFourBytesAndStoresTheBottomRowFirstInBgrOrder) {
    Image image(5, 2);  // 15 bytes a row, padded to 16
    for (int x = 0; x < 5; ++x) {
        image.at(x, 0) = {10, 20, 30, 255};
        image.at(x, 1) = {40, 50, 60, 255};
    }
    Bytes bmp = encodeBmp24(image);
    ASSERT_EQ(bmp.size(), 54u + 16 * 2);
    EXPECT_EQ(le16(bmp, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 57), (Bytes{60, 50, 40}));
    EXPECT_EQ(bmp[54 + 15], 0);
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
    EXPECT_EQ(ico[colours], 0);
    EXPECT_EQ(ico[mask + 15 * 4], 0x3F);  // the two opaque pixels clear their bits
    EXPECT_EQ(ico[mask + 15 * 4 + 2], 0);  // row padding
    EXPECT_EQ(ico[mask], 0xFF);
}

// White text with a black shadow is drawn over the bottom band of the skin: it has to stay
// dark and even there.
TEST(SkinArtwork, OsLabelAreaIsCalmAndDark) {
    Image skin = drawSkin();
    double sum = 0, sumSquares = 0, brightest = 0;
    int count = 0;
    for (int y = 390; y < 424; ++y)
        for (int x = 20; x < 740; ++x, ++count) {
            const Rgba8& p = skin.at(x, y);
            double luma = (0.299 * p.r + 0.587 * p.g + 0.114 * p.b) / 255;
            sum += luma;
            sumSquares += luma * luma;
            brightest = std::max(brightest, luma);
        }
    double mean = sum / count;
    EXPECT_LT(mean, 0.15);
    EXPECT_LT(brightest, 0.3);
    EXPECT_LT(sumSquares / count - mean * mean, 0.001);
}
