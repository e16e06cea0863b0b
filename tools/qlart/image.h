// Pixel images as the encoders take them: 8-bit RGBA, rows top to bottom.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgba8 {
    uint8_t r, g, b, a;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba8> pixels;  // width * height, row by row from the top

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h), Rgba8{0, 0, 0, 0}) {}
    Rgba8& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Rgba8& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

using Bytes = std::vector<uint8_t>;

// Little- and big-endian appenders shared by the encoders.
inline void putLe16(Bytes& out, uint32_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); }
inline void putLe32(Bytes& out, uint32_t v) { putLe16(out, v & 0xFFFF); putLe16(out, v >> 16); }
inline void putBe32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}
