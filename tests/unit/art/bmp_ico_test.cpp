// The skin bitmap and window icon encoders: header fields, row padding and order, the icon
// directory, palette mapping and transparency masks.
#include <gtest/gtest.h>
#include "artwork.h"
#include "bmp.h"
#include "ico.h"

namespace {

uint32_t le16(const Bytes& b, size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; }
uint32_t le32(const Bytes& b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

}  // namespace

TEST(BmpEncoder, SkinHeaderDescribesA900By424BottomUp24BitBitmap) {
    Bytes bmp = encodeBmp24(drawSkin());
    const uint32_t rowSize = 900 * 3;  // already a multiple of 4
    ASSERT_EQ(bmp.size(), 54u + rowSize * 424);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 10), 54u);  // pixel data offset
    EXPECT_EQ(le32(bmp, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(int32_t(le32(bmp, 18)), 900);
    EXPECT_EQ(int32_t(le32(bmp, 22)), 424);  // positive height: bottom-up
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 24u);
    EXPECT_EQ(le32(bmp, 30), 0u);  // uncompressed
    EXPECT_EQ(le32(bmp, 34), rowSize * 424);
}

TEST(BmpEncoder, PadsRowsToFourBytesAndStoresTheBottomRowFirstInBgrOrder) {
    Image image(5, 2);  // 15 bytes a row, padded to 16
    for (int x = 0; x < 5; ++x) {
        image.at(x, 0) = {10, 20, 30, 255};
        image.at(x, 1) = {40, 50, 60, 255};
    }
    Bytes bmp = encodeBmp24(image);
    ASSERT_EQ(bmp.size(), 54u + 16 * 2);
    EXPECT_EQ(le32(bmp, 34), 32u);
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 57), (Bytes{60, 50, 40}));  // bottom row first
    EXPECT_EQ(bmp[54 + 15], 0);                                                  // padding
    EXPECT_EQ(Bytes(bmp.begin() + 70, bmp.begin() + 73), (Bytes{30, 20, 10}));
    EXPECT_EQ(bmp[70 + 15], 0);
}

// White text with a black shadow is drawn over the bottom band of the skin: it has to stay
// dark and even there.
TEST(SkinArtwork, OsLabelAreaIsCalmAndDark) {
    Image skin = drawSkin();
    ASSERT_EQ(skin.width, SKIN_WIDTH);
    ASSERT_EQ(skin.height, SKIN_HEIGHT);
    double sum = 0, sumSquares = 0, brightest = 0;
    int count = 0;
    for (int y = 390; y < 424; ++y)
        for (int x = 20; x < 740; ++x) {
            const Rgba8& p = skin.at(x, y);
            ASSERT_EQ(p.a, 255) << "skin must be opaque";
            double luma = (0.299 * p.r + 0.587 * p.g + 0.114 * p.b) / 255;
            sum += luma;
            sumSquares += luma * luma;
            brightest = std::max(brightest, luma);
            ++count;
        }
    double mean = sum / count, variance = sumSquares / count - mean * mean;
    EXPECT_LT(mean, 0.15);
    EXPECT_LT(brightest, 0.3);
    EXPECT_LT(variance, 0.001);
}

TEST(IconPalette, EveryPaletteColourMapsToItself) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(nearestPaletteIndex(ICON_PALETTE[i]), i);
    EXPECT_EQ(nearestPaletteIndex({250, 250, 245, 255}), 15);  // near white
    EXPECT_EQ(nearestPaletteIndex({10, 0, 120, 255}), 4);      // near navy
}

TEST(IcoEncoder, DirectoryListsA16AndA32Pixel16ColourImage) {
    Bytes ico = encodeIco4({drawIcon(16), drawIcon(32)});
    EXPECT_EQ(le16(ico, 0), 0u);
    EXPECT_EQ(le16(ico, 2), 1u);  // icon
    ASSERT_EQ(le16(ico, 4), 2u);
    uint32_t expectedOffset = 6 + 2 * 16;
    const int sizes[2] = {16, 32};
    for (int i = 0; i < 2; ++i) {
        size_t entry = 6 + size_t(i) * 16;
        int size = sizes[i];
        EXPECT_EQ(ico[entry], size);
        EXPECT_EQ(ico[entry + 1], size);
        EXPECT_EQ(ico[entry + 2], 16);   // colours
        EXPECT_EQ(le16(ico, entry + 4), 1u);
        EXPECT_EQ(le16(ico, entry + 6), 4u);
        uint32_t colourRow = size == 16 ? 8 : 16, maskRow = 4;
        uint32_t bytes = 40 + 64 + (colourRow + maskRow) * uint32_t(size);
        EXPECT_EQ(le32(ico, entry + 8), bytes);
        EXPECT_EQ(le32(ico, entry + 12), expectedOffset);

        size_t header = expectedOffset;
        EXPECT_EQ(le32(ico, header), 40u);
        EXPECT_EQ(int32_t(le32(ico, header + 4)), size);
        EXPECT_EQ(int32_t(le32(ico, header + 8)), 2 * size);  // colour bits plus mask
        EXPECT_EQ(le16(ico, header + 14), 4u);
        expectedOffset += bytes;
    }
    EXPECT_EQ(ico.size(), expectedOffset);
}

TEST(IcoEncoder, ColourNibblesAndAndMaskFollowThePixels) {
    Image image(16, 16);                     // transparent except two pixels of the top row
    image.at(0, 0) = {255, 0, 0, 255};       // red: palette 9
    image.at(1, 0) = {255, 255, 255, 200};   // white: palette 15
    Bytes ico = encodeIco4({image});
    const size_t colours = 6 + 16 + 40 + 64;
    const size_t topColourRow = colours + 15 * 8;  // bottom-up
    EXPECT_EQ(ico[topColourRow], 0x9F);
    for (size_t i = colours; i < topColourRow; ++i) ASSERT_EQ(ico[i], 0) << "transparent pixels are index 0";
    const size_t mask = colours + 16 * 8;
    const size_t topMaskRow = mask + 15 * 4;
    EXPECT_EQ(ico[topMaskRow], 0x3F);  // the two opaque pixels clear their bits
    EXPECT_EQ(ico[topMaskRow + 1], 0xFF);
    EXPECT_EQ(ico[topMaskRow + 2], 0);  // row padding
    EXPECT_EQ(ico[mask], 0xFF);
    // The palette is stored blue, green, red, zero.
    EXPECT_EQ(Bytes(ico.begin() + 6 + 16 + 40 + 9 * 4, ico.begin() + 6 + 16 + 40 + 10 * 4), (Bytes{0, 0, 255, 0}));
}

TEST(IconArtwork, CornersAreTransparentAndTheMarkIsWhite) {
    for (int size : {16, 32}) {
        Image icon = drawIcon(size);
        EXPECT_LT(icon.at(0, 0).a, 128) << size;
        EXPECT_LT(icon.at(size - 1, size - 1).a, 128) << size;
        int white = 0;
        for (const Rgba8& p : icon.pixels) white += p.a >= 128 && nearestPaletteIndex(p) == 15;
        EXPECT_GT(white, size * size / 12) << size;
    }
}
