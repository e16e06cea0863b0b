#include "ico.h"

const Rgba8 ICON_PALETTE[16] = {
    {0, 0, 0, 255},     {128, 0, 0, 255},   {0, 128, 0, 255},   {128, 128, 0, 255},
    {0, 0, 128, 255},   {128, 0, 128, 255}, {0, 128, 128, 255}, {192, 192, 192, 255},
    {128, 128, 128, 255}, {255, 0, 0, 255}, {0, 255, 0, 255},   {255, 255, 0, 255},
    {0, 0, 255, 255},   {255, 0, 255, 255}, {0, 255, 255, 255}, {255, 255, 255, 255},
};

int nearestPaletteIndex(Rgba8 colour) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 16; ++i) {
        long dr = long(colour.r) - ICON_PALETTE[i].r;
        long dg = long(colour.g) - ICON_PALETTE[i].g;
        long db = long(colour.b) - ICON_PALETTE[i].b;
        long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;  // rough perceptual weights
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

namespace {

uint32_t colourRowSize(int width) { return ((uint32_t(width) * 4 + 31) / 32) * 4; }
uint32_t maskRowSize(int width) { return ((uint32_t(width) + 31) / 32) * 4; }

uint32_t imageDataSize(const Image& image) {
    return 40 + 16 * 4 + (colourRowSize(image.width) + maskRowSize(image.width)) * uint32_t(image.height);
}

void putImageData(Bytes& out, const Image& image) {
    putLe32(out, 40);
    putLe32(out, uint32_t(image.width));
    putLe32(out, uint32_t(image.height) * 2);  // colour bits and mask stacked
    putLe16(out, 1);
    putLe16(out, 4);
    putLe32(out, 0);  // BI_RGB
    putLe32(out, (colourRowSize(image.width) + maskRowSize(image.width)) * uint32_t(image.height));
    for (int i = 0; i < 4; ++i) putLe32(out, 0);
    for (const Rgba8& c : ICON_PALETTE) out.insert(out.end(), {c.b, c.g, c.r, 0});

    for (int y = image.height - 1; y >= 0; --y) {  // colour bits, bottom-up, two pixels a byte
        Bytes row(colourRowSize(image.width), 0);
        for (int x = 0; x < image.width; ++x) {
            const Rgba8& p = image.at(x, y);
            int index = p.a < 128 ? 0 : nearestPaletteIndex(p);
            row[size_t(x) / 2] |= uint8_t(x % 2 ? index : index << 4);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = image.height - 1; y >= 0; --y) {  // AND mask: 1 = transparent
        Bytes row(maskRowSize(image.width), 0);
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y).a < 128) row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

}  // namespace

Bytes encodeIco4(const std::vector<Image>& images) {
    Bytes out;
    putLe16(out, 0);
    putLe16(out, 1);  // icon
    putLe16(out, uint16_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (const Image& image : images) {
        out.push_back(uint8_t(image.width));
        out.push_back(uint8_t(image.height));
        out.push_back(16);  // colours
        out.push_back(0);
        putLe16(out, 1);  // planes
        putLe16(out, 4);  // bits per pixel
        putLe32(out, imageDataSize(image));
        putLe32(out, offset);
        offset += imageDataSize(image);
    }
    for (const Image& image : images) putImageData(out, image);
    return out;
}
