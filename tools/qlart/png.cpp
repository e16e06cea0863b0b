#include "png.h"
#include <algorithm>
#include <cstring>

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc) {
    static const struct Table {
        uint32_t entries[256];
        Table() {
            for (uint32_t n = 0; n < 256; ++n) {
                uint32_t c = n;
                for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
                entries[n] = c;
            }
        }
    } table;
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table.entries[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t adler32(const uint8_t* data, size_t size) {
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

Bytes zlibStored(const Bytes& data) {
    Bytes out = {0x78, 0x01};  // deflate, 32 KB window, no preset dictionary; 0x7801 % 31 == 0
    size_t offset = 0;
    do {
        size_t length = std::min<size_t>(data.size() - offset, 65535);
        bool last = offset + length == data.size();
        out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        putLe16(out, uint32_t(length));
        putLe16(out, uint32_t(~length & 0xFFFF));
        out.insert(out.end(), data.begin() + ptrdiff_t(offset), data.begin() + ptrdiff_t(offset + length));
        offset += length;
    } while (offset < data.size());
    putBe32(out, adler32(data.data(), data.size()));
    return out;
}

namespace {

void putChunk(Bytes& out, const char type[4], const Bytes& body) {
    putBe32(out, uint32_t(body.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putBe32(out, crc32(out.data() + start, out.size() - start));
}

}  // namespace

Bytes encodePng(const Image& image) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes out(signature, signature + 8);

    Bytes header;
    putBe32(header, uint32_t(image.width));
    putBe32(header, uint32_t(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    putChunk(out, "IHDR", header);

    Bytes raw;
    raw.reserve(size_t(image.height) * (size_t(image.width) * 4 + 1));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // filter type None
        for (int x = 0; x < image.width; ++x) {
            const Rgba8& p = image.at(x, y);
            raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
        }
    }
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", {});
    return out;
}
