#include "artwork.h"
#include <algorithm>
#include <cmath>
#include "canvas.h"
#include "font.h"

namespace {

constexpr float PI = 3.14159265f;

// Product colours.
const Colour NIGHT = rgb(0x0A1430);
const Colour DEEP_BLUE = rgb(0x1E3A8A);
const Colour TEAL = rgb(0x0E8A9A);
const Colour CYAN = rgb(0x45E3D6);
const Colour VIOLET = rgb(0x7C6CF6);
const Colour WHITE = rgb(0xFFFFFF);

// The mark: a "Q" whose tail points down-right and two sound waves rising from it to the
// upper right. Laid out on a 72-unit square, placed at (ox, oy) with `unit` pixels a unit.
struct MarkPaint {
    Colour ring, tail, innerWave, outerWave;
    float stroke = 1;        // stroke width factor; small sizes need bolder lines
    bool withOuterWave = true;   // small sizes keep one wave only
};

template <class Gradient>
void drawMark(Canvas& canvas, float ox, float oy, float unit, const MarkPaint& paint, Gradient shade) {
    const float cx = ox + 31 * unit, cy = oy + 37 * unit;
    auto paintWith = [&](Colour base) {
        return [&, base](float x, float y) { return shade(base, (x - ox) / (72 * unit), (y - oy) / (72 * unit)); };
    };
    const float from = -78 * PI / 180, to = 12 * PI / 180, stroke = paint.stroke * unit;
    if (paint.withOuterWave)
        canvas.fill(ox, oy, ox + 72 * unit, oy + 72 * unit,
                    [&](float x, float y) { return arcDistance(x, y, cx, cy, 34 * unit, 2.3f * stroke, from, to); },
                    paintWith(paint.outerWave));
    canvas.fill(ox, oy, ox + 72 * unit, oy + 72 * unit,
                [&](float x, float y) { return arcDistance(x, y, cx, cy, 26 * unit, 2.7f * stroke, from, to); },
                paintWith(paint.innerWave));
    canvas.fill(cx - 22 * unit, cy - 22 * unit, cx + 22 * unit, cy + 22 * unit,
                [&](float x, float y) { return std::fabs(circleDistance(x, y, cx, cy, 16.5f * unit)) - 4.2f * stroke; },
                paintWith(paint.ring));
    // The tail starts inside the bowl and crosses the ring, which makes the circle a "Q".
    canvas.fill(ox + 30 * unit, oy + 36 * unit, ox + 62 * unit, oy + 68 * unit,
                [&](float x, float y) {
                    return segmentDistance(x, y, ox + 37.5f * unit, oy + 44.5f * unit, ox + 53.5f * unit,
                                           oy + 60.5f * unit, 4.0f * stroke);
                },
                paintWith(paint.tail));
}

auto flat = [](Colour c, float, float) { return c; };

// Colours sweep from cyan at the upper left to violet at the lower right.
auto productGradient = [](Colour c, float u, float v) {
    Colour sweep = mix(CYAN, VIOLET, (u + v) / 2);
    sweep.a = c.a;
    return sweep;
};

void drawTile(Canvas& canvas, float left, float top, float size, float radius) {
    canvas.fill(left, top, left + size, top + size,
                [&](float x, float y) { return roundedBoxDistance(x, y, left, top, left + size, top + size, radius); },
                [&](float x, float y) {
                    float t = ((x - left) + (y - top)) / (2 * size);
                    Colour c = mix(DEEP_BLUE, TEAL, t);
                    // A soft light from the top edge.
                    return mix(c, WHITE, 0.18f * std::max(0.0f, 1 - (y - top) / (size * 0.5f)));
                });
}

// Vertical distance to a curve y = f(x), corrected by its slope: close enough to a true
// distance for gently curving lines.
template <class Curve>
float curveDistance(float x, float y, Curve f, float halfWidth) {
    float slope = (f(x + 0.5f) - f(x - 0.5f));
    return std::fabs(y - f(x)) / std::sqrt(1 + slope * slope) - halfWidth;
}

void drawSkinBackground(Canvas& canvas) {
    const int w = canvas.width(), h = canvas.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float fx = float(x) / float(w), fy = float(y) / float(h);
            Colour c = mix(rgb(0x0C1A40), NIGHT, fy);
            // Two broad glows: teal behind the mark, violet in the upper right.
            float glowMark = std::exp(-(std::pow((fx - 0.17f) * 2.6f, 2.0f) + std::pow((fy - 0.42f) * 2.2f, 2.0f)));
            float glowCorner = std::exp(-(std::pow((fx - 0.92f) * 2.4f, 2.0f) + std::pow((fy + 0.05f) * 2.0f, 2.0f)));
            c = mix(c, TEAL, 0.35f * glowMark);
            c = mix(c, VIOLET, 0.22f * glowCorner);
            canvas.set(x, y, c);
        }
}

// Flowing lines across the skin: sums of slow sines, fading towards both ends, kept above
// the band where the OS label sits.
void drawSkinWaves(Canvas& canvas) {
    const float w = float(canvas.width());
    for (int i = 0; i < 7; ++i) {
        float phase = float(i) * 0.7f, amplitude = 26 + 6 * float(i % 3), base = 300 + 6 * float(i);
        auto curve = [=](float x) {
            float envelope = std::sin(PI * x / w);
            return base + envelope * amplitude *
                              (std::sin(x / 95.0f + phase) * 0.7f + std::sin(x / 41.0f - phase * 1.3f) * 0.3f);
        };
        float alpha = 0.55f - 0.06f * float(i);
        canvas.fill(0, base - 60, w, base + 60,
                    [&](float x, float y) { return curveDistance(x, y, curve, 5.0f); },
                    [&](float x, float) {
                        Colour c = mix(CYAN, VIOLET, x / w);
                        c.a = alpha * 0.18f;
                        return c;
                    });
        canvas.fill(0, base - 60, w, base + 60,
                    [&](float x, float y) { return curveDistance(x, y, curve, 0.9f); },
                    [&](float x, float) {
                        Colour c = mix(CYAN, VIOLET, x / w);
                        c.a = alpha * std::sin(PI * x / w);
                        return c;
                    });
    }
}

// A calm, dark band along the bottom: white text with a black shadow reads well on it.
void drawLabelBand(Canvas& canvas) {
    const int w = canvas.width(), h = canvas.height();
    for (int y = 376; y < h; ++y)
        for (int x = 0; x < w; ++x) canvas.blend(x, y, rgb(0x060B1C), y < 380 ? 0.25f * float(y - 375) : 1.0f);
    for (int x = 0; x < w; ++x) {
        float fade = std::sin(PI * float(x) / float(w));
        canvas.blend(x, 380, mix(CYAN, VIOLET, float(x) / float(w)), 0.45f * fade);
    }
}

void drawTitle(Canvas& canvas) {
    TextShape name = shapeText("Quillon Orvalo", 318, 112, 7);
    TextShape subtitle = shapeText("Audio Router", 322, 196, 4);
    auto shadow = [](float, float) { return rgb(0x000000, 0.45f); };
    drawText(canvas, shapeText("Quillon Orvalo", 321, 116, 7), shadow);
    drawText(canvas, shapeText("Audio Router", 324, 199, 4), shadow);
    drawText(canvas, name, [&](float, float y) { return mix(WHITE, rgb(0xC9E9FF), (y - name.y) / (7 * 7)); });
    drawText(canvas, subtitle, [](float x, float) { return mix(CYAN, rgb(0xA99CFF), (x - 322) / 260); });
}

}  // namespace

Image drawLogo(LogoStyle style, int size) {
    Canvas canvas(size, size);
    const float unit = float(size) / 72;
    switch (style) {
    case LogoStyle::AppIcon:
        drawTile(canvas, 2 * unit, 2 * unit, 68 * unit, 15 * unit);
        drawMark(canvas, 0, 0, unit, {WHITE, WHITE, rgb(0xBFF7F2), rgb(0x8FE9E6, 0.85f)}, flat);
        break;
    case LogoStyle::Coloured:
        drawMark(canvas, 0, 0, unit, {WHITE, WHITE, WHITE, rgb(0xFFFFFF, 0.8f)}, productGradient);
        break;
    case LogoStyle::Black:
        drawMark(canvas, 0, 0, unit, {rgb(0x111111), rgb(0x111111), rgb(0x111111), rgb(0x111111, 0.7f)}, flat);
        break;
    case LogoStyle::White:
        drawMark(canvas, 0, 0, unit, {WHITE, WHITE, WHITE, rgb(0xFFFFFF, 0.7f)}, flat);
        break;
    }
    return canvas.toImage();
}

Image drawSkin() {
    Canvas canvas(SKIN_WIDTH, SKIN_HEIGHT);
    drawSkinBackground(canvas);
    drawSkinWaves(canvas);
    drawMark(canvas, 40, 60, 3.2f, {WHITE, WHITE, CYAN, rgb(0x9C8CFF, 0.9f)}, flat);
    drawTitle(canvas);
    drawLabelBand(canvas);
    return canvas.toImage();
}

Image drawIcon(int size) {
    // Few colours: a navy tile, a white mark and aqua waves survive the 16-colour palette.
    Canvas canvas(size, size);
    const float unit = float(size) / 72;
    canvas.fill(0, 0, float(size), float(size),
                [&](float x, float y) { return roundedBoxDistance(x, y, 0, 0, float(size), float(size), 12 * unit); },
                [](float, float) { return rgb(0x000080); });
    MarkPaint paint{WHITE, WHITE, rgb(0x00FFFF), rgb(0x00FFFF)};
    if (size < 24) {
        paint.stroke = 1.5f;
        paint.withOuterWave = false;
    }
    drawMark(canvas, 0, 0, unit, paint, flat);
    return canvas.toImage();
}
