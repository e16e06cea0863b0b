#include "bmp.h"

Bytes encodeBmp24(const Image& image) {
    const uint32_t rowSize = (uint32_t(image.width) * 3 + 3) & ~3u;  // rows padded to 4 bytes
    const uint32_t pixelBytes = rowSize * uint32_t(image.height);
    const uint32_t headersSize = 14 + 40;

    Bytes out;
    out.reserve(headersSize + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    putLe32(out, headersSize + pixelBytes);
    putLe32(out, 0);  // reserved
    putLe32(out, headersSize);

    putLe32(out, 40);
    putLe32(out, uint32_t(image.width));
    putLe32(out, uint32_t(image.height));  // positive: bottom-up
    putLe16(out, 1);                        // planes
    putLe16(out, 24);
    putLe32(out, 0);  // BI_RGB
    putLe32(out, pixelBytes);
    putLe32(out, 2835);  // 72 dpi
    putLe32(out, 2835);
    putLe32(out, 0);
    putLe32(out, 0);

    for (int y = image.height - 1; y >= 0; --y) {
        size_t rowStart = out.size();
        for (int x = 0; x < image.width; ++x) {
            const Rgba8& p = image.at(x, y);
            out.insert(out.end(), {p.b, p.g, p.r});
        }
        out.resize(rowStart + rowSize, 0);
    }
    return out;
}
