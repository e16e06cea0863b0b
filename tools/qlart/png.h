// PNG encoding of RGBA images: one IHDR, one IDAT holding a zlib stream of stored deflate
// blocks, IEND. Stored blocks keep the encoder trivially correct; the images are tiny.
#pragma once
#include <cstddef>
#include "image.h"

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t adler32(const uint8_t* data, size_t size);
Bytes zlibStored(const Bytes& data);
Bytes encodePng(const Image& image);
