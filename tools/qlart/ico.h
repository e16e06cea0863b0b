// Icon files of 4-bit (16-colour) images with 1-bit transparency masks. Colours are mapped to
// the standard 16-colour Windows palette; pixels with alpha below one half are transparent.
#pragma once
#include <vector>
#include "image.h"

extern const Rgba8 ICON_PALETTE[16];

int nearestPaletteIndex(Rgba8 colour);
Bytes encodeIco4(const std::vector<Image>& images);  // square images of 1 to 255 pixels
