// A small built-in bitmap font (5 columns, 7 rows above the baseline, 2 below), drawn scaled
// up as solid cells whose free outer corners are rounded.
#pragma once
#include "canvas.h"

constexpr int GLYPH_ROWS = 9;
constexpr int GLYPH_COLUMNS = 5;

// One glyph's 9 rows ('#' set), or null for a character the font lacks (drawn as a blank).
const char* const* glyphRows(char c);

// The text laid out at cell resolution: glyphs trimmed to their used columns, one empty
// column between glyphs, three for a blank.
struct TextCells {
    int columns = 0;
    std::vector<uint8_t> cells;  // columns * GLYPH_ROWS
    bool at(int column, int row) const {
        return column >= 0 && column < columns && row >= 0 && row < GLYPH_ROWS &&
               cells[size_t(row) * size_t(columns) + size_t(column)];
    }
};
TextCells layoutText(const char* text);

// The text placed at (x, y), cell size `scale` pixels, as a shape for Canvas::fill.
struct TextShape {
    TextCells layout;
    float x, y, scale;
    float right() const { return x + float(layout.columns) * scale; }
    float bottom() const { return y + float(GLYPH_ROWS) * scale; }
    float distance(float px, float py) const;
};
TextShape shapeText(const char* text, float x, float y, int scale);

template <class Paint>
void drawText(Canvas& canvas, const TextShape& shape, Paint paint) {
    canvas.fill(shape.x, shape.y, shape.right(), shape.bottom(),
                [&](float px, float py) { return shape.distance(px, py); }, paint);
}
