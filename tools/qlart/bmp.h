// 24-bit bottom-up Windows bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER), as resource
// compilers take them. Alpha is dropped: the image is expected to be opaque.
#pragma once
#include "image.h"

Bytes encodeBmp24(const Image& image);
