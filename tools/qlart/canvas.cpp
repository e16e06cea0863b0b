#include "canvas.h"
#include <algorithm>

Colour rgb(int hex, float alpha) {
    return {float((hex >> 16) & 0xFF) / 255.0f, float((hex >> 8) & 0xFF) / 255.0f, float(hex & 0xFF) / 255.0f, alpha};
}

Colour mix(Colour from, Colour to, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Canvas::Canvas(int width, int height, Colour background)
    : w(width), h(height), pixels(size_t(width) * size_t(height), background) {}

void Canvas::blend(int x, int y, Colour c, float coverage) {
    Colour& d = pixels[size_t(y) * size_t(w) + size_t(x)];
    float sa = c.a * coverage;
    float outA = sa + d.a * (1 - sa);
    if (outA <= 0) {
        d = {0, 0, 0, 0};
        return;
    }
    d.r = (c.r * sa + d.r * d.a * (1 - sa)) / outA;
    d.g = (c.g * sa + d.g * d.a * (1 - sa)) / outA;
    d.b = (c.b * sa + d.b * d.a * (1 - sa)) / outA;
    d.a = outA;
}

Image Canvas::toImage() const {
    Image image(w, h);
    auto byte = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (size_t i = 0; i < pixels.size(); ++i) {
        const Colour& c = pixels[i];
        image.pixels[i] = {byte(c.r), byte(c.g), byte(c.b), byte(c.a)};
    }
    return image;
}

float circleDistance(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

float segmentDistance(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
    float dx = bx - ax, dy = by - ay;
    float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / lengthSquared, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) - halfWidth;
}

float roundedBoxDistance(float x, float y, float left, float top, float right, float bottom, float radius) {
    float cx = (left + right) / 2, cy = (top + bottom) / 2;
    float qx = std::fabs(x - cx) - ((right - left) / 2 - radius);
    float qy = std::fabs(y - cy) - ((bottom - top) / 2 - radius);
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float arcDistance(float x, float y, float cx, float cy, float radius, float halfWidth, float from, float to) {
    float angle = std::atan2(y - cy, x - cx);
    if (angle >= from && angle <= to) return std::fabs(std::hypot(x - cx, y - cy) - radius) - halfWidth;
    float ex1 = cx + radius * std::cos(from), ey1 = cy + radius * std::sin(from);
    float ex2 = cx + radius * std::cos(to), ey2 = cy + radius * std::sin(to);
    return std::min(std::hypot(x - ex1, y - ey1), std::hypot(x - ex2, y - ey2)) - halfWidth;
}
