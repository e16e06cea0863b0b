// A small painter for the artwork: floating-point RGBA pixels, shapes described by signed
// distance (negative inside), antialiased by clamping the distance over one pixel.
#pragma once
#include <cmath>
#include "image.h"

struct Colour {
    float r, g, b, a;
};

Colour rgb(int hex, float alpha = 1.0f);
Colour mix(Colour from, Colour to, float t);

class Canvas {
public:
    Canvas(int width, int height, Colour background = {0, 0, 0, 0});
    int width() const { return w; }
    int height() const { return h; }
    Colour get(int x, int y) const { return pixels[size_t(y) * size_t(w) + size_t(x)]; }
    void set(int x, int y, Colour c) { pixels[size_t(y) * size_t(w) + size_t(x)] = c; }
    void blend(int x, int y, Colour c, float coverage);  // source-over compositing

    // Paints every pixel of the box whose centre lies inside the shape; `distance(x, y)`
    // gives the signed distance, `colour(x, y)` the paint.
    template <class Distance, class Paint>
    void fill(float left, float top, float right, float bottom, Distance distance, Paint colour) {
        int x0 = clampX(int(std::floor(left)) - 1), x1 = clampX(int(std::ceil(right)) + 1);
        int y0 = clampY(int(std::floor(top)) - 1), y1 = clampY(int(std::ceil(bottom)) + 1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float px = float(x) + 0.5f, py = float(y) + 0.5f;
                float coverage = 0.5f - distance(px, py);
                if (coverage > 0) blend(x, y, colour(px, py), coverage > 1 ? 1 : coverage);
            }
    }

    Image toImage() const;

private:
    int clampX(int x) const { return x < 0 ? 0 : x >= w ? w - 1 : x; }
    int clampY(int y) const { return y < 0 ? 0 : y >= h ? h - 1 : y; }
    int w, h;
    std::vector<Colour> pixels;
};

// Signed distances of the shapes the artwork uses.
float circleDistance(float x, float y, float cx, float cy, float radius);
float segmentDistance(float x, float y, float ax, float ay, float bx, float by, float halfWidth);
float roundedBoxDistance(float x, float y, float left, float top, float right, float bottom, float radius);
// A ring of the given radius and half-width, kept only between two angles (radians, measured
// clockwise from the positive x axis since y grows downwards); the ends are round.
float arcDistance(float x, float y, float cx, float cy, float radius, float halfWidth, float from, float to);
