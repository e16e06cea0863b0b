#include "font.h"
#include <algorithm>
#include <cstring>

namespace {

struct Glyph {
    char c;
    const char* rows[GLYPH_ROWS];
};

#define G(ch, r0, r1, r2, r3, r4, r5, r6, r7, r8) {ch, {r0, r1, r2, r3, r4, r5, r6, r7, r8}}
const char* const E = ".....";
const Glyph GLYPHS[] = {
    G('A', ".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", E, E),
    G('B', "####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", E, E),
    G('C', ".###.", "#...#", "#....", "#....", "#....", "#...#", ".###.", E, E),
    G('D', "####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####.", E, E),
    G('E', "#####", "#....", "#....", "####.", "#....", "#....", "#####", E, E),
    G('F', "#####", "#....", "#....", "####.", "#....", "#....", "#....", E, E),
    G('G', ".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####", E, E),
    G('H', "#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", E, E),
    G('I', "###..", ".#...", ".#...", ".#...", ".#...", ".#...", "###..", E, E),
    G('J', "..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##..", E, E),
    G('K', "#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#", E, E),
    G('L', "#....", "#....", "#....", "#....", "#....", "#....", "#####", E, E),
    G('M', "#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#", E, E),
    G('N', "#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", E, E),
    G('O', ".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###.", E, E),
    G('P', "####.", "#...#", "#...#", "####.", "#....", "#....", "#....", E, E),
    G('Q', ".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#", E, E),
    G('R', "####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#", E, E),
    G('S', ".####", "#....", "#....", ".###.", "....#", "....#", "####.", E, E),
    G('T', "#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", E, E),
    G('U', "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###.", E, E),
    G('V', "#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#..", E, E),
    G('W', "#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#.", E, E),
    G('X', "#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#", E, E),
    G('Y', "#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#..", E, E),
    G('Z', "#####", "....#", "...#.", "..#..", ".#...", "#....", "#####", E, E),
    G('a', E, E, ".###.", "....#", ".####", "#...#", ".####", E, E),
    G('b', "#....", "#....", "####.", "#...#", "#...#", "#...#", "####.", E, E),
    G('c', E, E, ".###.", "#....", "#....", "#...#", ".###.", E, E),
    G('d', "....#", "....#", ".####", "#...#", "#...#", "#...#", ".####", E, E),
    G('e', E, E, ".###.", "#...#", "#####", "#....", ".###.", E, E),
    G('f', "..##.", ".#..#", ".#...", "###..", ".#...", ".#...", ".#...", E, E),
    G('g', E, E, ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."),
    G('h', "#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#", E, E),
    G('i', ".#...", E, "##...", ".#...", ".#...", ".#...", "###..", E, E),
    G('j', "...#.", E, "..##.", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."),
    G('k', "#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#.", E, E),
    G('l', "##...", ".#...", ".#...", ".#...", ".#...", ".#...", "###..", E, E),
    G('m', E, E, "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#", E, E),
    G('n', E, E, "#.##.", "##..#", "#...#", "#...#", "#...#", E, E),
    G('o', E, E, ".###.", "#...#", "#...#", "#...#", ".###.", E, E),
    G('p', E, E, "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."),
    G('q', E, E, ".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"),
    G('r', E, E, "#.##.", "##..#", "#....", "#....", "#....", E, E),
    G('s', E, E, ".####", "#....", ".###.", "....#", "####.", E, E),
    G('t', ".#...", ".#...", "###..", ".#...", ".#...", ".#..#", "..##.", E, E),
    G('u', E, E, "#...#", "#...#", "#...#", "#..##", ".##.#", E, E),
    G('v', E, E, "#...#", "#...#", "#...#", ".#.#.", "..#..", E, E),
    G('w', E, E, "#...#", "#...#", "#.#.#", "#.#.#", ".#.#.", E, E),
    G('x', E, E, "#...#", ".#.#.", "..#..", ".#.#.", "#...#", E, E),
    G('y', E, E, "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."),
    G('z', E, E, "#####", "...#.", "..#..", ".#...", "#####", E, E),
    G('0', ".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###.", E, E),
    G('1', "..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###.", E, E),
    G('2', ".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####", E, E),
    G('3', "#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###.", E, E),
    G('4', "...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#.", E, E),
    G('5', "#####", "#....", "####.", "....#", "....#", "#...#", ".###.", E, E),
    G('6', "..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###.", E, E),
    G('7', "#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#...", E, E),
    G('8', ".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###.", E, E),
    G('9', ".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##..", E, E),
    G('.', E, E, E, E, E, "##...", "##...", E, E),
    G(',', E, E, E, E, E, "##...", "##...", ".#...", "#...."),
    G('-', E, E, E, "####.", E, E, E, E, E),
    G(':', E, "##...", "##...", E, E, "##...", "##...", E, E),
    G('/', "....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#....", E, E),
    G('!', "#....", "#....", "#....", "#....", "#....", E, "#....", E, E),
    G('?', ".###.", "#...#", "....#", "...#.", "..#..", E, "..#..", E, E),
};
#undef G

// Columns a glyph really uses, so that narrow letters do not leave wide gaps.
void usedColumns(const char* const* rows, int* first, int* last) {
    *first = GLYPH_COLUMNS;
    *last = -1;
    for (int r = 0; r < GLYPH_ROWS; ++r)
        for (int c = 0; c < GLYPH_COLUMNS; ++c)
            if (rows[r][c] == '#') {
                *first = std::min(*first, c);
                *last = std::max(*last, c);
            }
}

}  // namespace

const char* const* glyphRows(char c) {
    for (const Glyph& glyph : GLYPHS)
        if (glyph.c == c) return glyph.rows;
    return nullptr;
}

TextCells layoutText(const char* text) {
    // Two passes: count the columns, then set the cells.
    TextCells layout;
    for (int pass = 0; pass < 2; ++pass) {
        int column = 0;
        for (const char* p = text; *p; ++p) {
            const char* const* rows = glyphRows(*p);
            int first, last;
            if (rows) usedColumns(rows, &first, &last);
            if (!rows || last < 0) {  // blank or unknown
                column += 3;
                continue;
            }
            if (pass == 1)
                for (int r = 0; r < GLYPH_ROWS; ++r)
                    for (int c = first; c <= last; ++c)
                        if (rows[r][c] == '#')
                            layout.cells[size_t(r) * size_t(layout.columns) + size_t(column + c - first)] = 1;
            column += last - first + 2;
        }
        if (pass == 0) {
            layout.columns = column > 0 ? column - 1 : 0;  // no gap after the last glyph
            layout.cells.assign(size_t(layout.columns) * GLYPH_ROWS, 0);
        }
    }
    return layout;
}

TextShape shapeText(const char* text, float x, float y, int scale) {
    return TextShape{layoutText(text), x, y, float(scale)};
}

// Distance to the union of the set cells near the point. Each cell is a box whose corners are
// rounded only where neither neighbour along that corner's edges is set, so strokes join
// without notches and their free ends are soft.
float TextShape::distance(float px, float py) const {
    const float s = scale, radius = s * 0.35f;
    int column = int(std::floor((px - x) / s)), row = int(std::floor((py - y) / s));
    float best = 1e9f;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int c = column + dx, r = row + dy;
            if (!layout.at(c, r)) continue;
            float left = x + float(c) * s, top = y + float(r) * s;
            float cx = left + s / 2, cy = top + s / 2;
            int sx = px < cx ? -1 : 1, sy = py < cy ? -1 : 1;  // the corner this point is nearest
            bool free = !layout.at(c + sx, r) && !layout.at(c, r + sy);
            best = std::min(best, roundedBoxDistance(px, py, left, top, left + s, top + s, free ? radius : 0.0f));
            // Cells that touch only at a corner are joined by a stroke, so diagonals read as
            // lines rather than steps.
            for (int up = -1; up <= 1; up += 2)
                if (layout.at(c + 1, r + up) && !layout.at(c + 1, r) && !layout.at(c, r + up))
                    best = std::min(best, segmentDistance(px, py, cx, cy, cx + s, cy + float(up) * s, s * 0.48f));
        }
    return best;
}
