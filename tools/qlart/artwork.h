// The product's artwork, drawn procedurally: the four 72x72 logo images of the payload, the
// installer's skin and its window icon.
#pragma once
#include "image.h"

enum class LogoStyle {
    AppIcon,    // the mark in white on a blue-to-teal tile
    Coloured,   // the mark in the product colours on transparency
    Black,      // the mark in black on transparency
    White,      // the mark in white on transparency
};

Image drawLogo(LogoStyle style, int size);
Image drawSkin();              // 900 x 424, opaque
Image drawIcon(int size);      // for the 16-colour window icon; transparent corners

constexpr int SKIN_WIDTH = 900;
constexpr int SKIN_HEIGHT = 424;
